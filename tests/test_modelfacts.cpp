// The model's shared facts: parameter names and ranges, the half-turn
// wrap and the error units.
#include <gtest/gtest.h>
#include <cmath>
#include <string>
#include <vector>

#include "angles.h"
#include "encodersetup.h"
#include "errorunits.h"
#include "parameterranges.h"

namespace {

TEST(ChannelParameterTest, NamesRangesAndMembersAgree)
{
  std::vector<std::string> names;
  for (const TChannelParameter &parameter : ChannelParameters())
    names.push_back(parameter.Name());
  EXPECT_EQ(names, (std::vector<std::string>{"gain-a", "offset-a", "phase-a", "gain-b", "offset-b",
                                             "phase-b"}));

  // Each parameter writes its own member and no other.
  for (const TChannelParameter &parameter : ChannelParameters()) {
    TEncoderSetup setup;
    parameter.In(setup) = 0.375;
    const double members[6] = {setup.Gain[0], setup.Offset[0], setup.Phase[0],
                               setup.Gain[1], setup.Offset[1], setup.Phase[1]};
    int changed = 0;
    for (double value : members)
      changed += value == 0.375;
    EXPECT_EQ(changed, 1) << parameter.Name();
    EXPECT_EQ(parameter.In(static_cast<const TEncoderSetup &>(setup)), 0.375);
    TChannelParameter found;
    ASSERT_TRUE(FindChannelParameter(parameter.Name(), found));
    EXPECT_EQ(found.Kind, parameter.Kind);
    EXPECT_EQ(found.Channel, parameter.Channel);
  }
  TEncoderSetup setup;
  TChannelParameter{TParameterKind::Offset, 1}.In(setup) = -0.25;
  EXPECT_EQ(setup.Offset[1], -0.25);
  for (const char *name : {"gain", "gain-c", "Gain-a", "", "pitch"}) {
    TChannelParameter found;
    EXPECT_FALSE(FindChannelParameter(name, found)) << name;
  }

  EXPECT_EQ(&TChannelParameter({TParameterKind::Gain, 1}).Range(), &GainRange);
  EXPECT_EQ(&TChannelParameter({TParameterKind::Offset, 0}).Range(), &OffsetRange);
  EXPECT_EQ(&TChannelParameter({TParameterKind::Phase, 1}).Range(), &PhaseRange);
  // pi/4 and pi/40 to 14 decimals, as the phase box shows them.
  EXPECT_NEAR(PhaseRange.Maximum, std::atan(1.0), 5e-15);
  EXPECT_NEAR(PhaseRange.Step, std::atan(1.0) / 10, 1e-14);
  EXPECT_EQ(PhaseRange.Minimum, -PhaseRange.Maximum);
  EXPECT_TRUE(GainRange.Contains(0.1) && GainRange.Contains(2.0));
  EXPECT_FALSE(GainRange.Contains(0.0999999) || GainRange.Contains(2.0000001) ||
               GainRange.Contains(NAN));
}

TEST(AnglesTest, WrapAgreesWithTheRemainderEverywhere)
{
  // The exact IEEE remainder, moved from -pi to pi, is the reference.
  const auto reference = [](double Angle) {
    const double r = std::remainder(Angle, TwoPi);
    return r <= -Pi ? r + TwoPi : r;
  };
  for (double angle : {0.0,
                       -0.0,
                       Pi,
                       -Pi,
                       TwoPi,
                       -TwoPi,
                       3 * Pi,
                       -3 * Pi,
                       1.0,
                       -1.0,
                       4.0,
                       -4.0,
                       6.2,
                       -6.2,
                       7.0,
                       -7.0,
                       100.0,
                       -100.0,
                       1e6,
                       -1e6,
                       std::nextafter(Pi, 4.0),
                       std::nextafter(-Pi, -4.0),
                       std::nextafter(-Pi, 0.0)})
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
