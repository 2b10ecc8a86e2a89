// The command line that reproduces a setup as a single summary, as the
// capture report and the study print it.
#include <gtest/gtest.h>

#include "reproducecommand.h"

TEST(ReproduceCommandTest, WrittenOutSetupGivesItsLineWordForWord)
{
  // Pitch, resolution, then gains, offsets and phases, each A then B.
  const TEncoderSetup setup{0.12, 0.001, {1.05, 1.0}, {-0.03, 0.0}, {0.0, 0.05}, {}};
  EXPECT_EQ(ReproduceCommand(setup, true, true).toStdString(),
            "vantrel-report --pitch=0.12 --resolution=0.001 --gain-a=1.05 --offset-a=-0.03 "
            "--phase-a=0 --gain-b=1 --offset-b=0 --phase-b=0.05 --format summary");
  // Without pitch and resolution the program's defaults apply.
  EXPECT_EQ(ReproduceCommand(setup, false, false).toStdString(),
            "vantrel-report --gain-a=1.05 --offset-a=-0.03 --phase-a=0 --gain-b=1 --offset-b=0 "
            "--phase-b=0.05 --format summary");
  EXPECT_EQ(ReproduceCommand(setup, false, true).toStdString(),
            "vantrel-report --resolution=0.001 --gain-a=1.05 --offset-a=-0.03 --phase-a=0 "
            "--gain-b=1 --offset-b=0 --phase-b=0.05 --format summary");
  // Values with no short decimal form read back as the same double: 2/3
  // needs all 16 digits, 1e-17 just its own; a negative value stays with
  // its option, where it cannot be taken for one.
  const TEncoderSetup exact{0.04, 0.005, {2.0 / 3.0, 1.0}, {0.0, 1e-17}, {0.0, -0.123456789012345},
                            {}};
  EXPECT_EQ(ReproduceCommand(exact, false, false).toStdString(),
            "vantrel-report --gain-a=0.6666666666666666 --offset-a=0 --phase-a=0 --gain-b=1 "
            "--offset-b=1e-17 --phase-b=-0.123456789012345 --format summary");
}
