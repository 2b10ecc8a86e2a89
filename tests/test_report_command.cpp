// The command line that reproduces a setup as a single summary, as the
// capture report and the study print it.
#include <gtest/gtest.h>
#include <QStringList>
#include <cmath>

#include "reproducecommand.h"

namespace {

// Option NAME=VALUE of Command read back as a double; NaN when absent.
double OptionValue(const QString &Command, const QString &Name)
{
  for (const QString &word : Command.split(' '))
    if (word.startsWith("--" + Name + '='))
      return word.mid(Name.size() + 3).toDouble();
  return NAN;
}

}  // namespace

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
}

TEST(ReproduceCommandTest, EveryValueReadsBackAsTheSameDouble)
{
  // Values with no short decimal form, negative ones among them, in the
  // command's order: gain, offset and phase of A, then of B.
  const double values[6] = {2.0 / 3.0,   -1.0 / 7.0, -0.1 / 3.0,
                            1.0 + 1e-15, 1e-17,      -0.123456789012345};
  const TEncoderSetup setup{0.1 / 3.0,
                            0.0002 / 3.0,
                            {values[0], values[3]},
                            {values[1], values[4]},
                            {values[2], values[5]},
                            {}};
  const QString command = ReproduceCommand(setup, true, true);
  EXPECT_EQ(OptionValue(command, "pitch"), setup.Pitch);
  EXPECT_EQ(OptionValue(command, "resolution"), setup.Resolution);
  const char *const names[6] = {"gain-a", "offset-a", "phase-a", "gain-b", "offset-b", "phase-b"};
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(OptionValue(command, names[i]), values[i]) << names[i];
  // Shortest: 2/3 needs all 16 digits, 1e-17 just its own.
  EXPECT_TRUE(command.contains("--gain-a=0.6666666666666666 ")) << command.toStdString();
  EXPECT_TRUE(command.contains("--offset-b=1e-17 ")) << command.toStdString();
  // No value stands on its own, where it could be taken for an option.
  for (const QString &word : command.split(' '))
    EXPECT_FALSE(word.startsWith("-") && !word.startsWith("--")) << word.toStdString();
}
