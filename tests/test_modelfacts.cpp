// The model's shared facts: the parameter table and ranges, the half-turn
// wrap and the error units.
#include <gtest/gtest.h>
#include <cmath>
#include <iterator>
#include <string>
#include <vector>

#include "angles.h"
#include "encodersetup.h"
#include "errorunits.h"
#include "parameterranges.h"
#include "setupparameters.h"

namespace {

TEST(SetupParameterTest, NamesKeysRangesAndMembersAgree)
{
  TEncoderSetup probe;
  const struct
  {
    const char *Name, *Key;
    const TParameterRange *Range;
    const double *Member;
  } expected[] = {{"pitch", "pitch", &PitchRange, &probe.Pitch},
                  {"resolution", "resolution", &ResolutionRange, &probe.Resolution},
                  {"gain-a", "gain_a", &GainRange, &probe.Gain[0]},
                  {"gain-b", "gain_b", &GainRange, &probe.Gain[1]},
                  {"offset-a", "offset_a", &OffsetRange, &probe.Offset[0]},
                  {"offset-b", "offset_b", &OffsetRange, &probe.Offset[1]},
                  {"phase-a", "phase_a", &PhaseRange, &probe.Phase[0]},
                  {"phase-b", "phase_b", &PhaseRange, &probe.Phase[1]},
                  {"harmonic2", "harmonic2", &HarmonicRange, &probe.Signal.Harmonic[2]},
                  {"harmonic3", "harmonic3", &HarmonicRange, &probe.Signal.Harmonic[3]},
                  {"harmonic3-phase", "harmonic3_phase_rad", &HarmonicPhaseRange,
                   &probe.Signal.HarmonicPhase[3]},
                  {"harmonic4", "harmonic4", &HarmonicRange, &probe.Signal.Harmonic[4]},
                  {"harmonic5", "harmonic5", &HarmonicRange, &probe.Signal.Harmonic[5]},
                  {"harmonic6", "harmonic6", &HarmonicRange, &probe.Signal.Harmonic[6]},
                  {"harmonic7", "harmonic7", &HarmonicRange, &probe.Signal.Harmonic[7]},
                  {"harmonic8", "harmonic8", &HarmonicRange, &probe.Signal.Harmonic[8]},
                  {"harmonic9", "harmonic9", &HarmonicRange, &probe.Signal.Harmonic[9]},
                  {"noise", "noise", &NoiseRange, &probe.Signal.Noise}};
  const std::vector<TSetupParameter> &parameters = SetupParameters();
  ASSERT_EQ(parameters.size(), std::size(expected));
  for (std::size_t i = 0; i < parameters.size(); ++i) {
    EXPECT_STREQ(parameters[i].Name, expected[i].Name);
    EXPECT_STREQ(parameters[i].Key, expected[i].Key);
    EXPECT_EQ(parameters[i].Range, expected[i].Range) << expected[i].Name;
    EXPECT_EQ(&parameters[i].In(probe), expected[i].Member) << expected[i].Name;
    EXPECT_EQ(FindSetupParameter(expected[i].Name), &parameters[i]);
  }
  std::string by_channel;
  for (const TSetupParameter *parameter : ChannelParameters())
    by_channel += parameter->Quantity() + (parameter->Channel == 0 ? " A, " : " B, ");
  EXPECT_EQ(by_channel, "gain A, offset A, phase A, gain B, offset B, phase B, ");
  for (const char *name : {"gain", "gain-c", "Gain-a", "", "gain_a", "adc-bits", "seed"})
    EXPECT_EQ(FindSetupParameter(name), nullptr) << name;

  // pi/4 and pi/40 to 14 decimals, as the phase box shows them.
  EXPECT_NEAR(PhaseRange.Maximum, std::atan(1.0), 5e-15);
  EXPECT_NEAR(PhaseRange.Step, std::atan(1.0) / 10, 1e-14);
  EXPECT_EQ(PhaseRange.Minimum, -PhaseRange.Maximum);
  EXPECT_TRUE(GainRange.Contains(0.1) && GainRange.Contains(2.0));
  EXPECT_FALSE(GainRange.Contains(0.0999999) || GainRange.Contains(2.0000001) ||
               GainRange.Contains(NAN));
  // The scale's ranges hold every positive value and nothing else.
  EXPECT_TRUE(PitchRange.Contains(4.9e-324) && ResolutionRange.Contains(1e300));
  EXPECT_FALSE(PitchRange.Contains(0.0) || ResolutionRange.Contains(-1e-300));
}

TEST(AnglesTest, WrapAgreesWithTheRemainderEverywhere)
{
  // The exact IEEE remainder, moved from -pi to pi, is the reference.
  const auto reference = [](double Angle) {
    const double r = std::remainder(Angle, TwoPi);
    return r <= -Pi ? r + TwoPi : r;
  };
  const double next = std::nextafter(Pi, 4.0), below = std::nextafter(-Pi, -4.0),
               above = std::nextafter(-Pi, 0.0);
  for (double angle :
       {0.0, -0.0, Pi,  -Pi,  TwoPi, -TwoPi, 3 * Pi, -3 * Pi, 1.0,  -1.0,  4.0,  -4.0,
        6.2, -6.2, 7.0, -7.0, 100.0, -100.0, 1e6,    -1e6,    next, below, above})
    EXPECT_EQ(WrappedAngle(angle), reference(angle)) << angle;
  for (int k = -4000; k <= 4000; ++k) {
    const double angle = k * 0.0031415926;
    EXPECT_EQ(WrappedAngle(angle), reference(angle)) << angle;
  }
  EXPECT_EQ(WrappedAngle(Pi), Pi);
  EXPECT_EQ(WrappedAngle(-Pi), Pi);
  EXPECT_TRUE(std::isnan(WrappedAngle(NAN)));
}

TEST(ErrorUnitsTest, OnePeriodIsOnePitchAndCountCounts)
{
  // A quarter period: 90 deg, 25 %, a quarter of the pitch and count.
  const TErrorUnits quarter = InErrorUnits(Pi / 2, 1200, 0.12);
  EXPECT_NEAR(quarter.Rad, 1.5707963267948966, 1e-15);
  EXPECT_NEAR(quarter.Deg, 90.0, 1e-12);
  EXPECT_NEAR(quarter.PercentPeriod, 25.0, 1e-12);
  EXPECT_NEAR(quarter.Counts, 300.0, 1e-10);
  EXPECT_NEAR(quarter.Mm, 0.03, 1e-15);
  EXPECT_NEAR(PercentPeriodToMm(25.0, 0.12), 0.03, 1e-15);
  EXPECT_NEAR(RadToDeg(1.0), 180.0 / 3.141592653589793, 1e-12);
}

}  // namespace
