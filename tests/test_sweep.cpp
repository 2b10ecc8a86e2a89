// Sweeps of the evaluation over every setup the window offers and over the
// whole range of its channel controls.
#include <gtest/gtest.h>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <cmath>
#include <random>
#include <vector>

#include "encoderchannel.h"
#include "encoderinterpolator.h"
#include "testhelpers.h"
#include "vantrel.h"

namespace {

struct TSetup
{
  double Pitch;
  int Count;
};

// The window's own choices: every pitch with every resolution, and the
// range of each channel control.
class EvaluationSweep : public ::testing::Test
{
protected:
  void SetUp() override
  {
    TVantrel window;
    const QComboBox *pitches = window.findChild<QComboBox *>("scale_pitch");
    const QComboBox *resolutions = window.findChild<QComboBox *>("resolution");
    ASSERT_TRUE(pitches && resolutions);
    for (int p = 0; p < pitches->count(); ++p)
      for (int r = 0; r < resolutions->count(); ++r) {
        const double pitch = pitches->itemText(p).toDouble();
        Setups.push_back({pitch, InterpolationCount(pitch, resolutions->itemText(r).toDouble())});
      }
    for (const char *name : {"gain_a", "offset_a", "phase_a"}) {
      const QDoubleSpinBox *box = window.findChild<QDoubleSpinBox *>(name);
      ASSERT_NE(box, nullptr) << name;
      Ranges.push_back(std::uniform_real_distribution<double>(box->minimum(), box->maximum()));
    }
  }

  TChannelSettings Random() { return {Ranges[0](random), Ranges[1](random), Ranges[2](random)}; }

  static std::vector<TVector2> Evaluate(const TSetup &Setup, const TChannelSettings &A,
                                        const TChannelSettings &B, bool &Error)
  {
    TEncoderInterpolator interpolator;
    interpolator.SetInterpolatorCount(Setup.Count);
    return interpolator.Evaluate(Setup.Pitch, MakeChannel(SIN_CHANNEL, A),
                                 MakeChannel(COS_CHANNEL, B), &Error);
  }

  std::vector<TSetup> Setups;
  std::vector<std::uniform_real_distribution<double>> Ranges;
  std::mt19937 random{20261206};
};

}  // namespace

TEST_F(EvaluationSweep, EverySetupAndChannelRangeGivesWholeFiniteRuns)
{
  ASSERT_EQ(Setups.size(), 25u);
  // The corners of the controls' ranges first, then random settings.
  std::vector<TChannelSettings> settings;
  for (double gain : {Ranges[0].min(), Ranges[0].max()})
    for (double offset : {Ranges[1].min(), Ranges[1].max()})
      for (double phase : {Ranges[2].min(), Ranges[2].max()})
        settings.push_back({gain, offset, phase});
  for (int run = 0; run < 8; ++run)
    settings.push_back(Random());
  for (const TSetup &setup : Setups) {
    const int samples = 5 * setup.Count;
    const double step = setup.Pitch / samples;
    for (std::size_t run = 0; run < settings.size(); ++run) {
      bool error = false;
      const std::vector<TVector2> points =
          Evaluate(setup, settings[run], settings[settings.size() - 1 - run], error);
      ASSERT_EQ(points.size(), 2u * samples) << setup.Pitch << " / " << setup.Count;
      for (int i = 0; i < 2 * samples; ++i) {
        ASSERT_TRUE(std::isfinite(points[i].x) && std::isfinite(points[i].y)) << i;
        // Forward the position climbs by one step, back it falls by one.
        if (i % samples != 0) {
          ASSERT_NEAR(points[i].x - points[i - 1].x, i < samples ? step : -step, 1e-12)
              << setup.Pitch << " / " << setup.Count << " at " << i << ", run " << run;
        }
      }
    }
  }
}

// A few per cent of gain or offset error, or a twentieth of a radian of
// phase, on one channel never loses a count; ideal channels stay within
// two position steps.
TEST_F(EvaluationSweep, IdealAndSlightlyDistortedChannelsKeepCount)
{
  const TChannelSettings ideal{1.0, 0.0, 0.0};
  Ranges = {std::uniform_real_distribution<double>(0.95, 1.05),
            std::uniform_real_distribution<double>(-0.05, 0.05),
            std::uniform_real_distribution<double>(-0.05, 0.05)};
  for (const TSetup &setup : Setups) {
    if (setup.Count < 3)
      continue;
    bool error = true;
    for (const TVector2 &point : Evaluate(setup, ideal, ideal, error))
      ASSERT_LE(std::fabs(point.y), 2 * setup.Pitch / (5 * setup.Count) + 1e-12) << setup.Pitch;
    EXPECT_FALSE(error) << setup.Pitch << " / " << setup.Count;
    for (int run = 0; run < 12; ++run) {
      const TChannelSettings slight = Random();
      error = true;
      Evaluate(setup, run % 2 ? slight : ideal, run % 2 ? ideal : slight, error);
      EXPECT_FALSE(error) << setup.Pitch << " / " << setup.Count << ": gain " << slight.Gain
                          << ", offset " << slight.Offset << ", phase " << slight.Phase;
    }
  }
}
