// The encoder model: one channel, the interpolator's angle and counter
// rules, and whole evaluations checked against values computed apart from
// this code (scripts/golden_evaluation.py, a separate Python version of
// the same rules, or by hand where a comment says so).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "encoderchannel.h"
#include "encoderinterpolator.h"
#include "testhelpers.h"

namespace {
const double pi = 3.141592653589793;

std::vector<TVector2> Evaluate(double Pitch, int Count, const TChannelSettings &A,
                               const TChannelSettings &B, bool &Error)
{
  TEncoderInterpolator interpolator;
  interpolator.SetInterpolatorCount(Count);
  return interpolator.Evaluate(Pitch, MakeChannel(SIN_CHANNEL, A), MakeChannel(COS_CHANNEL, B),
                               &Error);
}

// The counter's move at every row: '+' up one count, '-' down one, '.'
// none. The counted position is the true position minus the error.
std::string CounterSteps(const std::vector<TVector2> &Points, double CountSize)
{
  std::string steps;
  double previous = 0.0;
  for (const TVector2 &p : Points) {
    const double counted = p.x - p.y;
    const long move = std::lround((counted - previous) / CountSize);
    steps += move > 0 ? '+' : (move < 0 ? '-' : '.');
    previous = counted;
  }
  return steps;
}
}  // namespace

TEST(EncoderChannelTest, ValueMultipliesByGainThenAddsOffsetThenLimits)
{
  // Python: math.sin(0.7) * 1.5 - 0.3 and math.cos(-1.25) * 0.8 - 0.1;
  // with an offset of +0.3 the sine reaches 1.266..., limited to 1.
  EXPECT_NEAR(MakeChannel(SIN_CHANNEL, {1.5, -0.3, 0.5}).Value(0.2), 0.6663265308565365, 1e-15);
  EXPECT_EQ(MakeChannel(SIN_CHANNEL, {1.5, 0.3, 0.5}).Value(0.2), 1.0);
  EXPECT_NEAR(MakeChannel(COS_CHANNEL, {0.8, -0.1, -0.25}).Value(-1.0), 0.15225788991621494, 1e-15);
  // Flat tops and bottoms at exactly +-1; the bounds pass unchanged.
  EXPECT_EQ(MakeChannel(SIN_CHANNEL, {2.0, 0.0, 0.0}).Value(pi / 2 + 0.5), 1.0);
  EXPECT_EQ(MakeChannel(SIN_CHANNEL, {2.0, 0.0, 0.0}).Value(3 * pi / 2 + 0.5), -1.0);
  EXPECT_EQ(MakeChannel(COS_CHANNEL, {1.0, -0.5, 0.0}).Value(pi), -1.0);
  EXPECT_EQ(MakeChannel(COS_CHANNEL, {0.5, 0.5, 0.0}).Value(0.0), 1.0);
  const TEncoderChannel low = MakeChannel(SIN_CHANNEL, {1.0, -0.5, 0.0});
  EXPECT_EQ(low.MinimumValue(), -1.0);
  EXPECT_EQ(low.MaximumValue(), 0.5);
  const TEncoderChannel high = MakeChannel(SIN_CHANNEL, {2.0, 0.3, 0.0});  // peaks 2.3 and -1.7
  EXPECT_EQ(high.MaximumValue(), 1.0);
  EXPECT_EQ(high.MinimumValue(), -1.0);
}

TEST(EncoderChannelTest, TableHoldsFourPeriodsInAccumulatedStepsUntilRebuilt)
{
  TEncoderChannel channel = MakeChannel(COS_CHANNEL, {1.5, 0.3, 0.5});
  channel.GeneratePoints();
  channel.GeneratePoints();  // rebuilt, not appended to
  const std::vector<TVector2> points = channel.SamplePoints();
  ASSERT_EQ(points.size(), 400u);
  // Python: 399 additions of 6.28318530717959 / 99 from 0.0.
  EXPECT_EQ(points.back().x, 25.323140783481552);
  double x = 0.0;
  for (const TVector2 &p : points) {
    ASSERT_EQ(p.x, x);  // the phase shifts the values only
    ASSERT_EQ(p.y, std::clamp(std::cos(x + 0.5) * 1.5 + 0.3, -1.0, 1.0)) << x;
    x += full_turn / 99;
  }
  // Setters only store: Value follows at once, the table not yet.
  channel.SetGain(0.5);
  EXPECT_NE(channel.Value(points[25].x), points[25].y);
  EXPECT_EQ(channel.SamplePoints()[25].y, points[25].y);
}

TEST(EncoderInterpolatorTest, AngleCoversEveryBranch)
{
  // Sine, cosine, angle. Worked by hand from atan: quadrants, a cosine
  // inside +-1e-10 replaced by +-1e-10 of its sign (zero counts as
  // positive: atan(3e9) = pi/2 - 3.3e-10), and inputs limited to +-1.
  const double cases[][3] = {{0.5, 0.5, pi / 4},
                             {0.5, -0.5, 3 * pi / 4},
                             {0.0, -1.0, pi},
                             {-0.5, -0.5, 5 * pi / 4},
                             {-0.5, 0.5, 7 * pi / 4},
                             {0.0, 1.0, 0.0},
                             {0.3, -5e-11, pi / 2 + 1 / 3e9},
                             {0.3, -0.0, pi / 2 - 1 / 3e9},
                             {-0.3, 0.0, 3 * pi / 2 + 1 / 3e9},
                             {0.3, 5e-11, pi / 2 - 1 / 3e9},
                             {2.0, 0.5, std::atan(2.0)},
                             {0.5, -3.0, pi - std::atan(0.5)},
                             {-7.0, 2.0, 7 * pi / 4}};
  for (const auto &c : cases)
    EXPECT_NEAR(TEncoderInterpolator::Angle(c[0], c[1]), c[2], 1e-13) << c[0] << ", " << c[1];
  EXPECT_TRUE(std::isnan(TEncoderInterpolator::Angle(0.5, NAN)));
}

TEST(EncoderInterpolatorTest, StepDirectionWrapsTakesTheShorterWayAndAcceptsOneStep)
{
  // Angle, reference, step, direction.
  const double cases[][4] = {// The shorter way round: 0.1 is 0.183 ahead of 6.2.
                             {0.1, 6.2, 0.1, 1},
                             {6.2, 0.1, 0.1, -1},
                             {0.1, 6.2, 0.3, 0},
                             // Angles outside one turn are wrapped first, as often as needed.
                             {0.1 + 3 * full_turn, 0.1, 0.05, 0},
                             {0.1, 0.1 + 3 * full_turn, 0.05, 0},
                             {0.3 - 3 * full_turn, 0.1, 0.1, 1},
                             // A whole step less the 1e-9 tolerance counts; less than that not.
                             {1.5 - 0.5e-9, 1.0, 0.5, 1},
                             {1.5 - 2e-9, 1.0, 0.5, 0},
                             {0.5 + 0.5e-9, 1.0, 0.5, -1},
                             {0.5 + 2e-9, 1.0, 0.5, 0},
                             // Only the step's size matters.
                             {1.5, 1.0, -0.5, 1},
                             {1.2, 1.0, -0.5, 0}};
  for (const auto &c : cases)
    EXPECT_EQ(TEncoderInterpolator::StepDirection(c[0], c[1], c[2]), int(c[3]))
        << c[0] << " against " << c[1] << " step " << c[2];
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

TEST(EncoderInterpolatorTest, IdealChannelsGiveACentredSawtoothForwardAndBack)
{
  bool error = true;
  const std::vector<TVector2> points = Evaluate(0.040, 8, {1, 0, 0}, {1, 0, 0}, error);
  EXPECT_FALSE(error);
  ASSERT_EQ(points.size(), 80u);
  // By hand: steps of 0.001, the counter two steps ahead at the start,
  // 0.035 after the forward pass, and the return starting two steps above.
  for (int i = 0; i < 40; ++i) {
    EXPECT_NEAR(points[i].x, -0.002 + 0.001 * i, 1e-12) << i;
    EXPECT_NEAR(points[i].y, -0.002 + 0.001 * (i % 5), 1e-12) << i;
    EXPECT_NEAR(points[40 + i].x, 0.037 - 0.001 * i, 1e-12) << i;
    EXPECT_NEAR(points[40 + i].y, 0.002 - 0.001 * (i % 5), 1e-12) << i;
  }
}

// Distorted channels bend the angle, so the counter moves where ideal
// channels would not: every row's counter move, and a few whole rows,
// from scripts/golden_evaluation.py.
TEST(EncoderInterpolatorTest, DistortedChannelsCountAsTheGoldenRunsDo)
{
  // Tilted; clipped; forward to the pitch but back only to 0.07 (seven
  // counts short); back two counts short, one beyond what the check takes.
  const struct
  {
    double Pitch;
    int Count;
    TChannelSettings A, B;
    bool Flag;
    const char *Steps;
    int Row;
    double Position, Error;
  } cases[] = {
      // clang-format off
      {0.040, 8, {1.2, 0.1, 0.2}, {0.9, -0.05, -0.1}, false,
       ".......+.....+....+...+.....+.....+..+......-..-.....-.....-...-....-.....-.....",
       39, 0.037000000000000026, 0.0020000000000000226},
      {0.020, 4, {1.6, 0.35, -0.3}, {1.0, -0.2, 0.4}, false,
       "...+........+.+............-.-........-.", 20, 0.017, 0.0020000000000000018},
      {0.080, 8, {1.86, -0.13, -0.6624}, {1.41, -0.23, 0.6705}, true,
       "......+++.+..............++.+....+...................-.--..............-...+++..",
       79, 0.005999999999999945, -0.06400000000000006},
      {0.100, 10, {1.76, 0.12, -0.105467}, {0.32, -0.22, -0.139884}, true,
       ".++++..................+..+.+.+...........+................-...........-.-.-..-.."
       "................-.-", 99, -0.0040000000000000695, -0.024000000000000066},
      // clang-format on
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Steps);
    bool error = !c.Flag;
    const std::vector<TVector2> points = Evaluate(c.Pitch, c.Count, c.A, c.B, error);
    EXPECT_EQ(error, c.Flag);
    ASSERT_EQ(points.size(), 10u * c.Count);
    EXPECT_EQ(CounterSteps(points, c.Pitch / c.Count), c.Steps);
    EXPECT_NEAR(points[c.Row].x, c.Position, 1e-15);
    EXPECT_NEAR(points[c.Row].y, c.Error, 1e-15);
  }
}

TEST(EncoderModelDeathTest, ProgrammingErrorsAssert)
{
  TEncoderChannel channel = MakeChannel(SIN_CHANNEL);
  channel.d_point_count = 1;
  EXPECT_DEATH(channel.GeneratePoints(), "`d_point_count > 1' failed");
  channel = MakeChannel(static_cast<TChannelType>(2));
  EXPECT_DEATH(channel.Value(0.0), "encoderchannel\\.cpp:.*`false' failed");
  EXPECT_DEATH(channel.GeneratePoints(), "encoderchannel\\.cpp:.*`false' failed");

  // The interpolator's preconditions, in order.
  TEncoderInterpolator interpolator;
  const auto evaluate = [&](const double Distance) {
    interpolator.Evaluate(Distance, MakeChannel(SIN_CHANNEL), MakeChannel(COS_CHANNEL), nullptr);
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
