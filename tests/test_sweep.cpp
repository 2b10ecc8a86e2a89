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
#include "vantrel.h"

namespace {

struct TSetup
{
  double Pitch;
  int Count;
};

struct TChannelSettings
{
  double Gain, Offset, Phase;
};

struct TRange
{
  double Min, Max;
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
        const double resolution = resolutions->itemText(r).toDouble();
        Setups.push_back({pitch, InterpolationCount(pitch, resolution)});
      }
    const auto range = [&](const char *Name) {
      const QDoubleSpinBox *box = window.findChild<QDoubleSpinBox *>(Name);
      EXPECT_NE(box, nullptr) << Name;
      return box ? TRange{box->minimum(), box->maximum()} : TRange{0.0, 0.0};
    };
    Gain = range("gain_a");
    Offset = range("offset_a");
    Phase = range("phase_a");
  }

  static std::vector<TVector2> Evaluate(const TSetup &Setup, const TChannelSettings &A,
                                        const TChannelSettings &B, bool &Error)
  {
    TEncoderInterpolator interpolator;
    interpolator.SetInterpolatorCount(Setup.Count);
    return interpolator.Evaluate(Setup.Pitch, Channel(SIN_CHANNEL, A), Channel(COS_CHANNEL, B),
                                 &Error);
  }

  static TEncoderChannel Channel(TChannelType Type, const TChannelSettings &Settings)
  {
    TEncoderChannel channel;
    channel.d_type = Type;
    channel.SetGain(Settings.Gain);
    channel.SetOffset(Settings.Offset);
    channel.SetPhase(Settings.Phase);
    return channel;
  }

  std::vector<TSetup> Setups;
  TRange Gain{}, Offset{}, Phase{};
};

double Uniform(std::mt19937 &Random, const TRange &Range)
{
  return std::uniform_real_distribution<double>(Range.Min, Range.Max)(Random);
}

}  // namespace

TEST_F(EvaluationSweep, EverySetupAndChannelRangeGivesWholeFiniteRuns)
{
  ASSERT_EQ(Setups.size(), 25u);
  std::mt19937 random(20261206);
  // The corners of the controls' ranges come first, then random settings.
  std::vector<TChannelSettings> corners;
  for (double gain : {Gain.Min, Gain.Max})
    for (double offset : {Offset.Min, Offset.Max})
      for (double phase : {Phase.Min, Phase.Max})
        corners.push_back({gain, offset, phase});
  for (const TSetup &setup : Setups) {
    const int samples = 5 * setup.Count;
    const double step = setup.Pitch / samples;
    for (int run = 0; run < 16; ++run) {
      const TChannelSettings a =
          run < 8 ? corners[run]
                  : TChannelSettings{Uniform(random, Gain), Uniform(random, Offset),
                                     Uniform(random, Phase)};
      const TChannelSettings b =
          run < 8 ? corners[7 - run]
                  : TChannelSettings{Uniform(random, Gain), Uniform(random, Offset),
                                     Uniform(random, Phase)};
      bool error = false;
      const std::vector<TVector2> points = Evaluate(setup, a, b, error);
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

TEST_F(EvaluationSweep, IdealAndSlightlyDistortedChannelsKeepCount)
{
  std::mt19937 random(6122026);
  const TChannelSettings ideal{1.0, 0.0, 0.0};
  for (const TSetup &setup : Setups) {
    if (setup.Count < 3)
      continue;
    const double step = setup.Pitch / (5 * setup.Count);
    bool error = true;
    for (const TVector2 &point : Evaluate(setup, ideal, ideal, error))
      ASSERT_LE(std::fabs(point.y), 2 * step + 1e-12) << setup.Pitch << " / " << setup.Count;
    EXPECT_FALSE(error) << setup.Pitch << " / " << setup.Count;

    // A few per cent of gain or offset error, or a twentieth of a radian
    // of phase, on one channel never loses a count.
    for (int run = 0; run < 12; ++run) {
      const TChannelSettings slight{Uniform(random, {0.95, 1.05}), Uniform(random, {-0.05, 0.05}),
                                    Uniform(random, {-0.05, 0.05})};
      const bool onA = run % 2 == 0;
      error = true;
      Evaluate(setup, onA ? slight : ideal, onA ? ideal : slight, error);
      EXPECT_FALSE(error) << setup.Pitch << " / " << setup.Count << ": gain " << slight.Gain
                          << ", offset " << slight.Offset << ", phase " << slight.Phase << " on "
                          << (onA ? "A" : "B");
    }
  }
}
