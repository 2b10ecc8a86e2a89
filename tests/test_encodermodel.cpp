#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "encoderchannel.h"
#include "encoderinterpolator.h"

namespace {
const double pi = 3.141592653589793;

TEncoderChannel Channel(const TChannelType Type, const double Gain = 1.0, const double Offset = 0.0,
                        const double Phase = 0.0)
{
  TEncoderChannel channel;
  channel.d_type = Type;
  channel.SetGain(Gain);
  channel.SetOffset(Offset);
  channel.SetPhase(Phase);
  return channel;
}

std::vector<TVector2> Evaluate(const double Distance, const int Count, const double CosineOffset,
                               bool &Error)
{
  TEncoderInterpolator interpolator;
  interpolator.SetInterpolatorCount(Count);
  return interpolator.Evaluate(Distance, Channel(SIN_CHANNEL),
                               Channel(COS_CHANNEL, 1.0, CosineOffset), &Error);
}
}  // namespace

TEST(EncoderChannelTest, TableFollowsValueInAccumulatedStepsUntilRebuilt)
{
  for (TEncoderChannel channel : {Channel(SIN_CHANNEL), Channel(COS_CHANNEL, 1.5, 0.3, 0.5)}) {
    // A rebuild replaces the table rather than appending to it.
    channel.GeneratePoints();
    channel.GeneratePoints();
    const std::vector<TVector2> points = channel.SamplePoints();
    ASSERT_EQ(points.size(), 400u);
    EXPECT_NEAR(points[99].x, 2 * pi, 1e-13);
    // Summed steps drift a few ulps from i * step; the phase moves y only.
    double x = 0.0;
    for (const TVector2 &p : points) {
      EXPECT_EQ(std::make_tuple(p.x, p.y), std::make_tuple(x, channel.Value(x)));
      x += 6.28318530717959 / 99;
    }
    // Setters only store: Value follows at once, the table not yet.
    channel.SetGain(0.5);
    EXPECT_NE(channel.Value(points[25].x), points[25].y);
    EXPECT_EQ(channel.SamplePoints()[25].y, points[25].y);
  }
}

TEST(EncoderChannelTest, ValueLimitsAfterGainAndShiftsByPhase)
{
  EXPECT_EQ(Channel(SIN_CHANNEL, 2.0).Value(pi / 2 + 0.5), 1.0);
  EXPECT_EQ(Channel(SIN_CHANNEL, 2.0).Value(3 * pi / 2 + 0.5), -1.0);
  const TEncoderChannel shifted = Channel(COS_CHANNEL, 1.0, 0.0, -pi / 2);
  for (double angle = -7.0; angle < 7.0; angle += 0.37)
    EXPECT_NEAR(shifted.Value(angle), Channel(SIN_CHANNEL).Value(angle), 1e-15) << angle;
}

TEST(EncoderChannelDeathTest, ProgrammingErrorsAssert)
{
  TEncoderChannel channel = Channel(SIN_CHANNEL);
  channel.d_point_count = 1;
  EXPECT_DEATH(channel.GeneratePoints(), "`d_point_count > 1' failed");
  channel = Channel(static_cast<TChannelType>(2));
  EXPECT_DEATH(channel.Value(0.0), "encoderchannel\\.cpp:.*`false' failed");
  EXPECT_DEATH(channel.GeneratePoints(), "encoderchannel\\.cpp:.*`false' failed");
}

TEST(EncoderInterpolatorTest, AngleCoversQuadrantsNearZeroCosineAndLimits)
{
  // Sine, cosine, angle; inputs are limited, a near-zero cosine becomes +-1e-10.
  const double cases[][3] = {{0.0, 1.0, 0.0},
                             {0.5, 0.5, pi / 4},
                             {1.0, 0.0, pi / 2},
                             {0.5, -0.5, 3 * pi / 4},
                             {0.0, -1.0, pi},
                             {-0.5, -0.5, 5 * pi / 4},
                             {-1.0, 0.0, 3 * pi / 2},
                             {-0.5, 0.5, 7 * pi / 4},
                             {0.0, 0.0, 0.0},
                             {0.0, -1e-11, pi},
                             {1e-12, -1e-11, pi - std::atan(0.01)},
                             {2.0, 0.5, std::atan(2.0)}};
  for (const auto &c : cases)
    EXPECT_NEAR(TEncoderInterpolator::Angle(c[0], c[1]), c[2], 1e-9) << c[0] << ", " << c[1];
}

TEST(EncoderInterpolatorTest, StepDirectionTakesShorterWayRound)
{
  // Angle, reference, step, direction; exactly one step counts.
  const double cases[][4] = {{0.1, 6.2, 0.1, 1}, {0.1, 6.2, 0.3, 0},  {6.2, 0.1, 0.1, -1},
                             {1.5, 1.0, 0.5, 1}, {0.5, 1.0, 0.5, -1}, {1.2, 1.0, 0.5, 0}};
  for (const auto &c : cases)
    EXPECT_EQ(TEncoderInterpolator::StepDirection(c[0], c[1], c[2]), int(c[3]))
        << c[0] << " against " << c[1] << " step " << c[2];
}

TEST(EncoderInterpolatorTest, IdealChannelsGiveCentredSawtooth)
{
  bool error = true;
  const std::vector<TVector2> points = Evaluate(0.040, 8, 0.0, error);
  EXPECT_FALSE(error);
  ASSERT_EQ(points.size(), 80u);
  // Point 40 opens the return 2 steps above where the forward count stopped, 0.035.
  for (int i = 0; i < 40; ++i) {
    EXPECT_NEAR(points[i].x, -0.002 + 0.001 * i, 1e-12) << i;
    EXPECT_NEAR(points[i].y, -0.002 + 0.001 * (i % 5), 1e-12) << i;
    EXPECT_NEAR(points[40 + i].x, 0.037 - 0.001 * i, 1e-12) << i;
    EXPECT_NEAR(points[40 + i].y, 0.002 - 0.001 * (i % 5), 1e-12) << i;
  }
}

TEST(EncoderInterpolatorTest, LostTurnSetsFlagButKeepsAllPoints)
{
  const std::tuple<double, int, double, size_t, bool> cases[] = {
      {0.040, 8, 0.9, 80, false}, {0.040, 8, 1.0, 80, true}, {0.120, 1200, 0.0, 12000, false}};
  for (const auto &[distance, count, offset, size, flag] : cases) {
    bool error = !flag;
    EXPECT_EQ(Evaluate(distance, count, offset, error).size(), size) << offset;
    EXPECT_EQ(error, flag) << offset;
  }
}

TEST(EncoderInterpolatorTest, CountIsPitchOverResolutionRoundedHalvesUp)
{
  // Quotients worked out in doubles: 2.5999999999999996 rounds up to 3
  // where truncation gives 2; 2.5 and 1.5 are halves and go up;
  // 2.4899999999999998 goes down; 0.120 / 0.0001 is exactly 1200.
  const std::tuple<double, double, int> cases[] = {{0.026, 0.01, 3},      {0.025, 0.01, 3},
                                                   {0.03, 0.02, 2},       {0.0249, 0.01, 2},
                                                   {0.120, 0.0001, 1200}, {0.020, 0.0100, 2}};
  for (const auto &[pitch, resolution, count] : cases)
    EXPECT_EQ(InterpolationCount(pitch, resolution), count) << pitch << " / " << resolution;
}

TEST(EncoderInterpolatorDeathTest, EvaluateAssertsPreconditionsInOrder)
{
  TEncoderInterpolator interpolator;
  const auto evaluate = [&](const double Distance) {
    interpolator.Evaluate(Distance, Channel(SIN_CHANNEL), Channel(COS_CHANNEL), nullptr);
  };
  interpolator.d_data_size = 0;
  interpolator.SetInterpolatorCount(0);
  EXPECT_DEATH(evaluate(0.0), "`d_data_size > 0' failed");
  interpolator.d_data_size = 5;
  EXPECT_DEATH(evaluate(0.0), "`d_interpolator_count > 0' failed");
  interpolator.SetInterpolatorCount(8);
  EXPECT_DEATH(evaluate(1e-9), "`distance > zero_epsilon' failed");
  EXPECT_DEATH(evaluate(0.040), "encoderinterpolator\\.cpp:.*`error' failed");
}
