// The program's command line: help, version, output files and every kind
// of bad input.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "reportprocess.h"

TEST(ReportCliTest, HelpVersionAndOutputFileExitZero)
{
  const TReportRun help = RunReportProgram({"--help"});
  EXPECT_EQ(help.ExitCode, 0);
  EXPECT_TRUE(help.Err.isEmpty());
  for (const char *option : {"--pitch", "--resolution", "--gain-a", "--gain-b", "--offset-a",
                             "--offset-b", "--phase-a", "--phase-b", "--format", "--output",
                             "--plot", "--scope", "--xy", "--size", "--sweep", "--version"})
    EXPECT_TRUE(help.Out.contains(option)) << option;
  EXPECT_TRUE(help.Out.contains("(default 0.040)"));
  EXPECT_TRUE(help.Out.contains("(default 700x300)"));
  EXPECT_TRUE(help.Out.startsWith("Usage: vantrel-report [options]\n"));
  EXPECT_TRUE(help.Out.contains("\n  2  a usage or input error"));

  const TReportRun version = RunReportProgram({"--version"});
  EXPECT_EQ(version.ExitCode, 0);
  EXPECT_EQ(version.Out, "vantrel-report 1.0\n");
  EXPECT_TRUE(version.Err.isEmpty());

  // A file that exists is replaced whole; nothing goes to standard output.
  QTemporaryDir dir;
  const QString path = dir.filePath("table.txt");
  WriteFile(path, "an older and much longer table than the new one\n");
  const TReportRun run = RunReportProgram({"--output", path, "--resolution", "0.0100"});
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_TRUE(run.Out.isEmpty());
  EXPECT_TRUE(run.Err.isEmpty());
  // Hand count: 0.040 / 0.0100 = 4 counts, 40 rows after 7 header lines.
  const QByteArray table = ReadFile(path);
  EXPECT_TRUE(table.startsWith("Scale Pitch:        0.0400\nScale Resolution:   0.0100\n"));
  EXPECT_EQ(table.count('\n'), 7 + 40);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList("table.txt"));
}

TEST(ReportCliTest, BadCommandLinesExitTwoWithOneLineAndTouchNoFile)
{
  QTemporaryDir dir;
  const QString kept = dir.filePath("kept.txt");
  const QString fresh = dir.filePath("fresh.png");
  const QByteArray original = "must stay as it is\n";
  WriteFile(kept, original);

  // Each case, and a word its message must contain.
  const struct
  {
    QStringList Arguments;
    const char *Says;
  } cases[] = {
      {{"--bogus"}, "bogus"},
      {{"--pitch"}, "--pitch"},
      {{"--gain-a", "abc"}, "--gain-a"},
      {{"--gain-a", "1.0x"}, "--gain-a"},
      {{"--gain-a", ""}, "--gain-a"},
      {{"--offset-a", "nan"}, "finite"},
      {{"--pitch", "inf"}, "finite"},
      {{"--gain-a", "2.5"}, "0.1 ... 2"},
      {{"--gain-b", "0.05"}, "0.1 ... 2"},
      {{"--offset-b", "-1.01"}, "-1 ... 1"},
      {{"--phase-b", "0.8"}, "-0.78539816339745 ... 0.78539816339745"},
      {{"--pitch", "0"}, "--pitch"},
      {{"--resolution", "-0.005"}, "--resolution"},
      {{"--pitch", "0.001", "--resolution", "0.001"}, "2 ... 200000"},
      {{"--pitch", "0.1", "--resolution", "1e-7"}, "2 ... 200000"},
      {{"--pitch", "1e300", "--resolution", "1e-300"}, "2 ... 200000"},
      {{"--format", "xml"}, "--format"},
      {{"--size", "10x10"}, "--size"},
      {{"--size", "700"}, "--size"},
      {{"--xy=1"}, "--xy"},
      {{"extra"}, "extra"},
      {{"-style", "fusion"}, "s"},
      {{"--plot", dir.filePath("error.jpg")}, ".png"},
      {{"--scope", dir.filePath("scope")}, ".png"},
      {{"--output", dir.filePath("no/such/dir/out.txt")}, "out.txt"},
      {{"--output", dir.path()}, "cannot write"},
      {{"--plot", dir.filePath("no/such/dir/error.png")}, "error.png"},
      {{"--sweep", "gain-a=1:2"}, "NAME=FROM:TO:STEPS"},
      {{"--capture", "-", "--monte-carlo", "10"}, "--capture does not go with --monte-carlo"},
      {{"--sweep", "gain-a"}, "NAME=FROM:TO:STEPS"},
      {{"--sweep", "pitch=0.02:0.04:3"}, "pitch"},
      {{"--sweep", "gain-a=1:2:1"}, "STEPS"},
      {{"--sweep", "gain-a=1:2:x"}, "STEPS"},
      {{"--sweep", "gain-a=0:2:5"}, "0.1 ... 2"},
      {{"--sweep", "phase-a=0:nan:5"}, "finite"},
      {{"--sweep", "gain-a=1:2:3", "--sweep", "gain-b=1:2:3"}, "once"},
      {{"--sweep", "gain-a=1:2:3", "--format", "csv"}, "--format"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(qPrintable(c.Arguments.join(' ')));
    // Every case also names an output file and a plot, which must stay
    // as they were, unless it names its own.
    QStringList arguments;
    if (!c.Arguments.contains("--output"))
      arguments << "--output" << kept;
    if (!c.Arguments.contains("--plot"))
      arguments << "--plot" << fresh;
    ExpectRefusal(RunReportProgram(arguments + c.Arguments), c.Says);
    EXPECT_EQ(ReadFile(kept), original);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList("kept.txt"));
  }
}

// Renaming a finished file over its target would turn a pipe (or, for
// root, a device such as /dev/null) into a plain file: those are written
// in place. The reader at the pipe's other end gets the whole table.
TEST(ReportCliTest, APipeAsOutputIsWrittenInPlaceAndStaysAPipe)
{
  QTemporaryDir dir;
  const QString pipe = dir.filePath("pipe");
  ASSERT_EQ(QProcess::execute("mkfifo", {pipe}), 0);
  QProcess reader;
  reader.start("cat", {pipe});
  ASSERT_TRUE(reader.waitForStarted());
  const TReportRun run = RunReportProgram({"--output", pipe});
  EXPECT_EQ(run.ExitCode, 0);
  if (!reader.waitForFinished(10000))  // no writer ever opened the pipe
    reader.kill();
  EXPECT_TRUE(reader.readAllStandardOutput().startsWith("Scale Pitch:        0.0400\n"));
  EXPECT_TRUE(QFileInfo(pipe).exists() && !QFileInfo(pipe).isFile());
}
