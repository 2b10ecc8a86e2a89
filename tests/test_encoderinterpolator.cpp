#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "encoderinterpolator.h"

namespace
{
const double pi = 3.141592653589793;
const double full_turn = 6.28318530717959;

TEncoderChannel Channel(const TChannelType &Type, const double &Gain = 1.0,
                        const double &Offset = 0.0)
{
  TEncoderChannel channel;
  channel.d_type = Type;
  channel.SetGain(Gain);
  channel.SetOffset(Offset);
  return channel;
}

std::vector<TVector2> Evaluate(const double &Distance, const int Count,
                               const TEncoderChannel &A,
                               const TEncoderChannel &B, bool *Error)
{
  TEncoderInterpolator interpolator;
  interpolator.SetInterpolatorCount(Count);
  return interpolator.Evaluate(Distance, A, B, Error);
}

std::string Printed(const double &Value)
{
  char text[32];
  std::snprintf(text, sizeof text, "%.4f", Value);
  return text;
}
} // namespace

TEST(EncoderInterpolatorTest, AngleCoversQuadrantsAndNearZeroCosine)
{
  const struct
  {
    double sine, cosine, expected, tolerance;
  } cases[] = {
      {0.0, 1.0, 0.0, 0.0},           {1.0, 0.0, pi / 2, 1e-9},
      {0.0, -1.0, pi, 0.0},           {-1.0, 0.0, 3 * pi / 2, 1e-9},
      {-0.5, 0.5, 7 * pi / 4, 1e-15}, {0.0, 0.0, 0.0, 0.0},
      {0.0, -0.0, 0.0, 0.0},          {0.0, -1e-11, pi, 0.0},
      // A near-zero cosine is replaced by 1e-10 of its own sign.
      {1e-12, -1e-11, pi - std::atan(0.01), 1e-15},
      {-1e-12, 1e-11, 2 * pi - std::atan(0.01), 1e-15},
  };
  for (const auto &c : cases)
    EXPECT_NEAR(TEncoderInterpolator::Angle(c.sine, c.cosine), c.expected,
                c.tolerance)
        << "(" << c.sine << ", " << c.cosine << ")";
  for (double angle = 0.01; angle < 2 * pi; angle += 0.1)
    EXPECT_NEAR(TEncoderInterpolator::Angle(std::sin(angle), std::cos(angle)),
                angle, 1e-14);
  EXPECT_EQ(TEncoderInterpolator::Angle(2.0, 0.5),
            TEncoderInterpolator::Angle(1.0, 0.5));
  EXPECT_EQ(TEncoderInterpolator::Angle(-0.3, -4.0),
            TEncoderInterpolator::Angle(-0.3, -1.0));
}

TEST(EncoderInterpolatorTest, StepDirectionTakesShorterWayRound)
{
  const struct
  {
    double angle, reference, step;
    int expected;
  } cases[] = {
      {0.1, 6.2, 0.1, 1},  {0.1, 6.2, 0.3, 0},  {6.2, 0.1, 0.1, -1},
      {1.5, 1.0, 0.5, 1},  {0.5, 1.0, 0.5, -1}, {1.2, 1.0, 0.5, 0},
      {1.5, 1.0, -0.5, 1}, {-0.1, 0.1, 0.1, -1}, {0.3, 0.1 - full_turn, 0.1, 1},
      {full_turn + 0.7, 0.7, 0.01, 0},
  };
  for (const auto &c : cases)
    EXPECT_EQ(TEncoderInterpolator::StepDirection(c.angle, c.reference, c.step),
              c.expected)
        << c.angle << " against " << c.reference << " step " << c.step;
}

TEST(EncoderInterpolatorTest, IdealChannelsGiveCentredSawtooth)
{
  bool error = true;
  const std::vector<TVector2> points = Evaluate(
      0.040, 8, Channel(SIN_CHANNEL), Channel(COS_CHANNEL), &error);
  EXPECT_FALSE(error);
  ASSERT_EQ(points.size(), 80u);
  for (int i = 0; i < 40; ++i)
  {
    EXPECT_NEAR(points[i].x, -0.002 + 0.001 * i, 1e-12) << i;
    EXPECT_NEAR(points[i].y, -0.002 + 0.001 * (i % 5), 1e-12) << i;
    EXPECT_NEAR(points[40 + i].x, 0.037 - 0.001 * i, 1e-12) << i;
    EXPECT_NEAR(points[40 + i].y, 0.002 - 0.001 * (i % 5), 1e-12) << i;
  }
  // Counter (position - error) one count short of the pitch after the
  // forward pass, back at zero after the return.
  EXPECT_NEAR(points[40].x - points[40].y, 0.035, 1e-12);
  EXPECT_NEAR(points[79].x - points[79].y, 0.0, 1e-12);
  for (const int row : {39, 40})
    EXPECT_EQ(Printed(points[row].x) + " " + Printed(points[row].y),
              "0.0370 0.0020");
}

// A sine gain of 1.5 pulls the interpolated angle ahead of the true angle in
// the first quadrant and behind it in the second: one count comes a sample
// early, the next two samples late.
TEST(EncoderInterpolatorTest, GainErrorShiftsCountsWithinThePeriod)
{
  bool error = true;
  const std::vector<TVector2> points = Evaluate(
      0.040, 8, Channel(SIN_CHANNEL, 1.5), Channel(COS_CHANNEL), &error);
  EXPECT_FALSE(error);
  ASSERT_EQ(points.size(), 80u);
  const double expected[][2] = {
      {3, 0.001}, {4, -0.003}, {15, 0.003}, {16, 0.004}, {17, 0.0}};
  for (const auto &row : expected)
    EXPECT_NEAR(points[int(row[0])].y, row[1], 1e-12) << row[0];
}

TEST(EncoderInterpolatorTest, LostTurnSetsFlagButKeepsAllPoints)
{
  for (const double offset : {0.9, 1.0})
  {
    bool error = offset < 1.0;
    const std::vector<TVector2> points = Evaluate(
        0.040, 8, Channel(SIN_CHANNEL), Channel(COS_CHANNEL, 1.0, offset), &error);
    EXPECT_EQ(error, offset >= 1.0) << offset;
    EXPECT_EQ(points.size(), 80u) << offset;
  }
  bool error = true;
  EXPECT_EQ(Evaluate(0.120, 1200, Channel(SIN_CHANNEL), Channel(COS_CHANNEL),
                     &error).size(),
            12000u);
  EXPECT_FALSE(error);
}

TEST(EncoderInterpolatorTest, RepeatedEvaluationIsIdentical)
{
  TEncoderChannel a = Channel(SIN_CHANNEL, 1.2, 0.1);
  TEncoderChannel b = Channel(COS_CHANNEL, 0.8, -0.05);
  a.SetPhase(0.2);
  bool errors[2] = {false, true};
  std::vector<double> runs[2];
  for (int run = 0; run < 2; ++run)
    for (const TVector2 &p : Evaluate(0.020, 20, a, b, &errors[run]))
      runs[run].insert(runs[run].end(), {p.x, p.y});
  EXPECT_EQ(errors[0], errors[1]);
  EXPECT_EQ(runs[0].size(), 400u);
  EXPECT_EQ(runs[0], runs[1]);
}

TEST(EncoderInterpolatorTest, EvaluateAssertsPreconditionsInOrder)
{
  const TEncoderChannel a = Channel(SIN_CHANNEL);
  const TEncoderChannel b = Channel(COS_CHANNEL);
  TEncoderInterpolator interpolator;
  interpolator.d_data_size = 0;
  interpolator.SetInterpolatorCount(0);
  EXPECT_DEATH(interpolator.Evaluate(0.0, a, b, nullptr),
               "Assertion `d_data_size > 0' failed");
  interpolator.d_data_size = 5;
  EXPECT_DEATH(interpolator.Evaluate(0.0, a, b, nullptr),
               "Assertion `d_interpolator_count > 0' failed");
  interpolator.SetInterpolatorCount(8);
  EXPECT_DEATH(interpolator.Evaluate(1e-9, a, b, nullptr),
               "Assertion `distance > zero_epsilon' failed");
  EXPECT_DEATH(interpolator.Evaluate(0.040, a, b, nullptr),
               "encoderinterpolator\\.cpp:.*Assertion `error' failed");
}
