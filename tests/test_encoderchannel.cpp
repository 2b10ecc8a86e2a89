#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "encoderchannel.h"

namespace
{
const double pi = 3.141592653589793;

TEncoderChannel Channel(const TChannelType &Type, const double &Gain = 1.0,
                        const double &Offset = 0.0, const double &Phase = 0.0)
{
  TEncoderChannel channel;
  channel.d_type = Type;
  channel.SetGain(Gain);
  channel.SetOffset(Offset);
  channel.SetPhase(Phase);
  return channel;
}

std::vector<std::pair<double, double>> Pairs(const std::vector<TVector2> &Points)
{
  std::vector<std::pair<double, double>> pairs;
  for (const TVector2 &p : Points)
    pairs.emplace_back(p.x, p.y);
  return pairs;
}
} // namespace

TEST(EncoderChannelTest, ValueAppliesGainOffsetPhaseAndLimit)
{
  const struct
  {
    TEncoderChannel channel;
    double angle, expected, tolerance;
  } cases[] = {
      {Channel(SIN_CHANNEL), 0.0, 0.0, 0.0},
      {Channel(COS_CHANNEL), 0.0, 1.0, 0.0},
      {Channel(SIN_CHANNEL), pi / 2, 1.0, 1e-15},
      {Channel(SIN_CHANNEL, 0.5, 0.25), pi / 2, 0.75, 1e-15},
      // Flat tops and bottoms lie exactly on the limits.
      {Channel(SIN_CHANNEL, 2.0), pi / 2, 1.0, 0.0},
      {Channel(SIN_CHANNEL, 2.0), 3 * pi / 2, -1.0, 0.0},
      {Channel(SIN_CHANNEL, 2.0), pi / 2 + 0.5, 1.0, 0.0},
      {Channel(SIN_CHANNEL, 1.0, -0.5), 3 * pi / 2 - 0.3, -1.0, 0.0},
      {Channel(SIN_CHANNEL, 1.0, -0.5), pi / 2, 0.5, 1e-15},
  };
  for (const auto &c : cases)
    EXPECT_NEAR(c.channel.Value(c.angle), c.expected, c.tolerance)
        << "angle " << c.angle << " gain " << c.channel.d_gain;
  EXPECT_TRUE(std::isnan(Channel(SIN_CHANNEL, std::nan("")).Value(1.0)));

  const TEncoderChannel low = Channel(SIN_CHANNEL, 1.0, -0.5);
  EXPECT_EQ(low.MaximumValue(), 0.5);
  EXPECT_EQ(low.MinimumValue(), -1.0);
  const TEncoderChannel small = Channel(SIN_CHANNEL, 0.5, 0.25);
  EXPECT_EQ(small.MaximumValue(), 0.75);
  EXPECT_EQ(small.MinimumValue(), -0.25);
}

TEST(EncoderChannelTest, CosineShiftedByQuarterTurnIsSine)
{
  const TEncoderChannel sine = Channel(SIN_CHANNEL);
  const TEncoderChannel shifted = Channel(COS_CHANNEL, 1.0, 0.0, -pi / 2);
  for (double angle = -7.0; angle < 7.0; angle += 0.37)
    EXPECT_NEAR(shifted.Value(angle), sine.Value(angle), 1e-15) << angle;
}

TEST(EncoderChannelTest, DefaultTableCoversFourPeriodsInAccumulatedSteps)
{
  TEncoderChannel channel = Channel(SIN_CHANNEL);
  EXPECT_TRUE(channel.SamplePoints().empty());
  channel.GeneratePoints();
  const std::vector<TVector2> points = channel.SamplePoints();
  ASSERT_EQ(points.size(), 400u);
  EXPECT_EQ(points[0].x, 0.0);
  double accumulated = 0.0;
  for (size_t i = 1; i < points.size(); ++i)
  {
    EXPECT_NEAR(points[i].x - points[i - 1].x, 0.0634665182543393, 1e-13);
    accumulated += 6.28318530717959 / 99;
  }
  // Summed steps end a few ulps away from 399 * step.
  EXPECT_EQ(points[399].x, accumulated);
  EXPECT_NEAR(points[399].x, 25.3231, 1e-4);
  EXPECT_NEAR(points[99].x, 2 * pi, 1e-13);
}

TEST(EncoderChannelTest, TableFollowsValueAndIgnoresPhaseInX)
{
  TEncoderChannel plain = Channel(COS_CHANNEL);
  plain.GeneratePoints();
  for (TEncoderChannel channel :
       {Channel(SIN_CHANNEL, 1.3, 0.2, 0.5), Channel(COS_CHANNEL, 0.7, -0.4, -0.6),
        Channel(SIN_CHANNEL, 2.0)})
  {
    channel.GeneratePoints();
    const std::vector<TVector2> points = channel.SamplePoints();
    ASSERT_EQ(points.size(), plain.d_points.size());
    for (size_t i = 0; i < points.size(); ++i)
    {
      EXPECT_EQ(points[i].x, plain.d_points[i].x) << i;
      EXPECT_EQ(points[i].y, channel.Value(points[i].x)) << i;
    }
  }
}

TEST(EncoderChannelTest, SettersLeaveTableStaleUntilRebuilt)
{
  TEncoderChannel channel = Channel(SIN_CHANNEL);
  channel.GeneratePoints();
  const std::vector<TVector2> before = channel.SamplePoints();
  channel.SetGain(0.5);
  EXPECT_NEAR(channel.Value(pi / 2), 0.5, 1e-15);
  EXPECT_EQ(Pairs(channel.SamplePoints()), Pairs(before));

  channel.GeneratePoints();
  const std::vector<TVector2> first = channel.SamplePoints();
  EXPECT_NE(first[25].y, before[25].y);
  channel.GeneratePoints();
  EXPECT_EQ(Pairs(channel.SamplePoints()), Pairs(first));
}

TEST(EncoderChannelTest, ProgrammingErrorsAssert)
{
  TEncoderChannel few = Channel(SIN_CHANNEL);
  few.d_point_count = 1;
  EXPECT_DEATH(few.GeneratePoints(), "Assertion `d_point_count > 1' failed");

  TEncoderChannel unknown = Channel(SIN_CHANNEL);
  unknown.d_type = static_cast<TChannelType>(2);
  EXPECT_DEATH(unknown.Value(0.0), "encoderchannel\\.cpp:.*Assertion `false'");
  EXPECT_DEATH(unknown.GeneratePoints(),
               "encoderchannel\\.cpp:.*Assertion `false'");
}
