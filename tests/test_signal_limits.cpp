// Signal-quality limits: verdicts at a bound's edges, the band a
// frequency picks, and a fitted capture's figures in the limits' units.
#include <gtest/gtest.h>

#include "signallimits.h"

namespace {

TJudgedValue Value(double V, double U)
{
  return {V, U};
}

}  // namespace

TEST(SignalLimitsTest, VerdictsWeighTheDistanceToEachBoundAgainstTwiceTheUncertainty)
{
  // Bounds 0 ... 1 with u = 0.125, so 2u = 0.25; binary fractions keep
  // the edges exact.
  const struct
  {
    double V, U, Low, High;
    TVerdict Expected;
  } cases[] = {
      {0.5, 0.125, 0.0, 1.0, TVerdict::Pass},        // inside by more than 2u
      {0.25, 0.125, 0.0, 1.0, TVerdict::Pass},       // inside by exactly 2u
      {0.2, 0.125, 0.0, 1.0, TVerdict::Undecided},   // inside, within 2u
      {-0.2, 0.125, 0.0, 1.0, TVerdict::Undecided},  // outside, within 2u
      {1.25, 0.125, 0.0, 1.0, TVerdict::Undecided},  // outside by exactly 2u
      {1.3, 0.125, 0.0, 1.0, TVerdict::Fail},        // outside by more than 2u
      {-0.3, 0.125, 0.0, 1.0, TVerdict::Fail},
      {1.0, 0.0, 0.0, 1.0, TVerdict::Pass},  // on a bound, exact
      {0.0, 0.0, 0.0, 1.0, TVerdict::Pass},
      {1.0000001, 0.0, 0.0, 1.0, TVerdict::Fail},
      {-1e9, 0.125, NoValue, 1.0, TVerdict::Pass},  // a missing bound holds nothing back
      {1e9, 0.125, 0.0, NoValue, TVerdict::Pass},
      {0.1, 0.125, 0.0, NoValue, TVerdict::Undecided},
      {NoValue, 0.0, 0.0, 1.0, TVerdict::Undecided},  // unknown
  };
  for (const auto &c : cases)
    EXPECT_EQ(JudgeValue(Value(c.V, c.U), c.Low, c.High), c.Expected)
        << c.V << " +- 2 * " << c.U << " in " << c.Low << " ... " << c.High;
}

TEST(SignalLimitsTest, TheLowestBandAboveTheFrequencyJudgesAndTheTightestWithoutOne)
{
  TLimitSet set{"t",
                "",
                {{"p", TLimitQuantity::PhaseDeg, -0.5, 0.5, 1e3},
                 {"p", TLimitQuantity::PhaseDeg, -1.0, 1.0, 250e3}}};
  TSignalQuantities values;
  values[static_cast<int>(TLimitQuantity::PhaseDeg)] = Value(0.7, 0.0);
  const struct
  {
    double Hz;
    bool Open;  // with a limit at any frequency, +-2 deg
    TVerdict Expected;
    double BelowHz;
  } cases[] = {
      {500.0, false, TVerdict::Fail, 1e3},  {1e3, false, TVerdict::Pass, 250e3},
      {1e5, true, TVerdict::Pass, 250e3},   {3e5, false, TVerdict::Undecided, NoValue},
      {3e5, true, TVerdict::Pass, NoValue}, {NoValue, false, TVerdict::Fail, 1e3},
      {NoValue, true, TVerdict::Fail, 1e3},
  };
  for (const auto &c : cases) {
    TLimitSet judged = set;
    if (c.Open)
      judged.Limits.insert(judged.Limits.begin(), {"p", TLimitQuantity::PhaseDeg, -2.0, 2.0});
    const TJudgement j = JudgeLimits(judged, values, c.Hz);
    ASSERT_EQ(j.Checks.size(), 1u);
    EXPECT_EQ(j.Checks[0].Verdict, c.Expected) << c.Hz << ' ' << c.Open;
    EXPECT_EQ(j.Checks[0].Band != nullptr, c.Expected != TVerdict::Undecided) << c.Hz;
    if (j.Checks[0].Band) {
      const double below = j.Checks[0].Band->BelowHz;
      EXPECT_TRUE(below == c.BelowHz || (std::isnan(below) && std::isnan(c.BelowHz))) << c.Hz;
    }
    EXPECT_EQ(j.TightestForUnknownFrequency, std::isnan(c.Hz)) << c.Hz;
    EXPECT_EQ(j.Status(), c.Expected == TVerdict::Fail ? 1 : c.Expected == TVerdict::Pass ? 0 : 3);
  }
}

TEST(SignalLimitsTest, ACapturesFiguresAndUncertaintiesInTheLimitsUnits)
{
  TCaptureAnalysis a;
  a.Ellipse.OffsetA = 0.03;
  a.Ellipse.AmplitudeA = 0.5;
  a.Ellipse.AmplitudeB = 0.45;
  a.Ellipse.Phase = 0.01;
  a.Uncertainty.OffsetA = 0.004;
  a.Uncertainty.AmplitudeA = 0.003;
  a.Uncertainty.AmplitudeB = 0.004;
  a.Uncertainty.Phase = 0.001;
  a.Measured.PeakToPeak = 0.01 * TwoPi;  // 1 % of the period
  a.PeakToPeakUncertainty = 0.002 * TwoPi;
  a.Harmonic3 = -0.02;
  a.Harmonic3Uncertainty = 0.001;
  const TSignalQuantities q = CaptureQuantities(a, NoValue);
  auto at = [&](TLimitQuantity Quantity) { return q[static_cast<int>(Quantity)]; };
  // By hand: 100 * 0.03 / 0.5 = 6, u = 200 sqrt(0.004^2 + (0.06 * 0.003)^2);
  // 100 (0.45 / 0.5 - 1) = -10, u = 90 sqrt((0.004 / 0.45)^2 + (0.003 / 0.5)^2).
  EXPECT_NEAR(at(TLimitQuantity::OffsetAPercent).Value, 6.0, 1e-12);
  EXPECT_NEAR(at(TLimitQuantity::OffsetAPercent).Uncertainty, 0.80081, 1e-5);
  EXPECT_NEAR(at(TLimitQuantity::AmplitudeRatioPercent).Value, -10.0, 1e-12);
  EXPECT_NEAR(at(TLimitQuantity::AmplitudeRatioPercent).Uncertainty, 0.965194, 1e-6);
  EXPECT_NEAR(at(TLimitQuantity::PhaseDeg).Value, 0.572958, 1e-6);
  EXPECT_NEAR(at(TLimitQuantity::PhaseDeg).Uncertainty, 0.0572958, 1e-7);
  EXPECT_NEAR(at(TLimitQuantity::ErrorHalfPpPercent).Value, 0.5, 1e-12);
  EXPECT_NEAR(at(TLimitQuantity::ErrorHalfPpPercent).Uncertainty, 0.1, 1e-12);
  EXPECT_NEAR(at(TLimitQuantity::Harmonic3Percent).Value, 2.0, 1e-12);
  EXPECT_NEAR(at(TLimitQuantity::Harmonic3Percent).Uncertainty, 0.1, 1e-12);
  EXPECT_EQ(at(TLimitQuantity::AmplitudeB).Value, 0.45);
  EXPECT_TRUE(std::isnan(at(TLimitQuantity::FrequencyHz).Value));
  // A raw pair that never turns round leaves the error unknown.
  a.MeasuredValid = false;
  EXPECT_TRUE(std::isnan(
      CaptureQuantities(a, 1e3)[static_cast<int>(TLimitQuantity::ErrorHalfPpPercent)].Value));
}
