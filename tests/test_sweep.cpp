// Sweeps of the evaluation over every setup the window offers and over the
// whole range of its channel controls.
#include <gtest/gtest.h>
#include <QComboBox>
#include <cmath>
#include <random>

#include "encoderinterpolator.h"
#include "parameterranges.h"
#include "testhelpers.h"

TEST(EvaluationSweep, EverySetupAndChannelRangeGivesWholeFiniteRunsAndSlightErrorsKeepCount)
{
  TVantrel window;
  const QComboBox *pitches = window.findChild<QComboBox *>("scale_pitch");
  const QComboBox *resolutions = window.findChild<QComboBox *>("resolution");
  ASSERT_EQ(pitches->count() * resolutions->count(), 25);
  std::mt19937 random{20261206};
  const auto uniform = [&random](double Low, double High) {
    return std::uniform_real_distribution<double>(Low, High)(random);
  };
  // The corners of the controls' ranges first, then random settings.
  std::vector<TChannelSettings> settings;
  for (double gain : {GainRange.Minimum, GainRange.Maximum})
    for (double offset : {OffsetRange.Minimum, OffsetRange.Maximum})
      for (double phase : {PhaseRange.Minimum, PhaseRange.Maximum})
        settings.push_back({gain, offset, phase});
  for (int run = 0; run < 8; ++run)
    settings.push_back({uniform(GainRange.Minimum, GainRange.Maximum),
                        uniform(OffsetRange.Minimum, OffsetRange.Maximum),
                        uniform(PhaseRange.Minimum, PhaseRange.Maximum)});
  const TChannelSettings ideal{1.0, 0.0, 0.0};
  for (int p = 0; p < pitches->count(); ++p)
    for (int r = 0; r < resolutions->count(); ++r) {
      const double pitch = pitches->itemText(p).toDouble();
      const int count = InterpolationCount(pitch, resolutions->itemText(r).toDouble());
      SCOPED_TRACE(testing::Message() << pitch << " / " << count);
      TEncoderInterpolator interpolator;
      interpolator.SetInterpolatorCount(count);
      const auto evaluate = [&](const TChannelSettings &A, const TChannelSettings &B, bool &Error) {
        return interpolator.Evaluate(pitch, MakeChannel(SIN_CHANNEL, A),
                                     MakeChannel(COS_CHANNEL, B), &Error);
      };
      const int samples = 5 * count;
      for (std::size_t run = 0; run < settings.size(); ++run) {
        bool error = false;
        const std::vector<TVector2> points =
            evaluate(settings[run], settings[settings.size() - 1 - run], error);
        ASSERT_EQ(points.size(), 2u * samples);
        for (int i = 0; i < 2 * samples; ++i) {
          ASSERT_TRUE(std::isfinite(points[i].x) && std::isfinite(points[i].y)) << i;
          // Forward the position climbs by one step, back it falls by one.
          if (i % samples != 0) {
            ASSERT_NEAR(points[i].x - points[i - 1].x, (i < samples ? 1 : -1) * pitch / samples,
                        1e-12)
                << i << ", run " << run;
          }
        }
      }
      // A few per cent of gain or offset error, or a twentieth of a radian
      // of phase, on one channel never loses a count; ideal channels stay
      // within two position steps.
      if (count < 3)
        continue;
      bool error = true;
      for (const TVector2 &point : evaluate(ideal, ideal, error))
        ASSERT_LE(std::fabs(point.y), 2 * pitch / samples + 1e-12);
      EXPECT_FALSE(error);
      for (int run = 0; run < 12; ++run) {
        const TChannelSettings slight{uniform(0.95, 1.05), uniform(-0.05, 0.05),
                                      uniform(-0.05, 0.05)};
        error = true;
        evaluate(run % 2 ? slight : ideal, run % 2 ? ideal : slight, error);
        EXPECT_FALSE(error) << "gain " << slight.Gain << ", offset " << slight.Offset << ", phase "
                            << slight.Phase;
      }
    }
}
