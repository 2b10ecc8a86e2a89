// Outputs that cannot be written: a full device as standard output or as
// a file, a plot that cannot be put in place, and an output that fails
// before a long study starts. Each is exit status 2 with the system's own
// reason, and no file is created or changed.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "reportprocess.h"

namespace {

// strerror(ENOSPC) and strerror(ENOENT) on Linux, written out here so the
// test does not ask the code under test for the words it must print.
const QByteArray Full = "No space left on device";
const QByteArray NoSuchFile = "No such file or directory";

// One command line for each mode and format, with the files it needs.
struct TModeCase
{
  const char *Name;
  QStringList Arguments;
};

class ReportOutputTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    ASSERT_TRUE(d_dir.isValid());
    d_shards = WriteShards(d_dir, d_study, {0, 1}, 2);
  }

  std::vector<TModeCase> Modes() const
  {
    return {
        {"table", {}},
        {"csv", {"--format", "csv"}},
        {"summary", {"--format", "summary"}},
        {"json", {"--format", "json"}},
        {"sweep", {"--sweep", "gain-a=0.9:1.1:3"}},
        {"capture summary", {"--capture", d_capture}},
        {"capture csv", {"--capture", d_capture, "--format", "csv"}},
        {"study summary", d_study},
        {"study csv", d_study + QStringList{"--format", "csv"}},
        {"merge", QStringList{"--merge", "--format", "json"} + d_shards},
        // The counter does not return, which alone is status 1; a lost
        // output outranks it, and its message is the only line.
        {"lost count", {"--gain-a", "0.5", "--offset-a", "0.6"}},
    };
  }

  // The directory's files besides the shards.
  QStringList NewFiles() const
  {
    QStringList files = QDir(d_dir.path()).entryList(QDir::Files | QDir::System);
    for (const QString &shard : d_shards)
      files.removeAll(QFileInfo(shard).fileName());
    return files;
  }

  const QStringList d_study = {"--monte-carlo", "30", "--tolerance", "gain=0.02", "--quiet"};
  QTemporaryDir d_dir;
  const QString d_capture = ExampleFile("clean.csv");
  QStringList d_shards;
};

}  // namespace

TEST_F(ReportOutputTest, EveryModeRefusesAFullStandardOutputOrOutputDevice)
{
  // Written in full, the lost count is status 1.
  ASSERT_EQ(RunReportProgram({"--gain-a", "0.5", "--offset-a", "0.6"}).ExitCode, 1);
  for (const TModeCase &mode : Modes()) {
    SCOPED_TRACE(mode.Name);
    ExpectRefusalLine(RunReportProgram(mode.Arguments, {}, "/dev/full"),
                      "cannot write standard output: " + Full);
    ExpectRefusalLine(RunReportProgram(mode.Arguments + QStringList{"--output", "/dev/full"}),
                      "cannot write /dev/full: " + Full);
  }
  EXPECT_TRUE(NewFiles().isEmpty()) << qPrintable(NewFiles().join(' '));
  // Help and version are output too.
  for (const char *option : {"--help", "--version"})
    EXPECT_EQ(RunReportProgram({option}, {}, "/dev/full").ExitCode, 2) << option;
}

TEST_F(ReportOutputTest, AFailedOutputLeavesNoPlotAndKeepsAnOldOne)
{
  // The scope, new, is not left behind; the plot, old, is kept.
  const QByteArray old = "<svg>an older plot</svg>\n";
  const QString svg = WriteTestFile(d_dir, "error.svg", old);
  const QString png = d_dir.filePath("scope.png");
  for (const QStringList &arguments :
       {QStringList{"--format", "summary", "--plot", svg, "--scope", png},
        QStringList{"--monte-carlo", "20", "--quiet", "--plot", svg},
        QStringList{"--capture", d_capture, "--plot", svg, "--scope", png}}) {
    SCOPED_TRACE(qPrintable(arguments.join(' ')));
    ExpectRefusalLine(RunReportProgram(arguments + QStringList{"--output", "/dev/full"}),
                      "cannot write /dev/full: " + Full);
    EXPECT_EQ(ReadFile(svg), old);
    EXPECT_EQ(NewFiles(), QStringList("error.svg"));
  }
}

// A plot that is a full device (through a link whose name ends in .png)
// fails when flushed, after the text is complete: the text file must
// still be as it was, and standard output gets no text.
TEST_F(ReportOutputTest, AFullPlotDeviceLeavesTheTextFileAsItWas)
{
  const QString link = d_dir.filePath("full.png");
  ASSERT_TRUE(QFile::link("/dev/full", link));
  const QString text = WriteTestFile(d_dir, "summary.txt", "the old summary\n");
  ExpectRefusalLine(RunReportProgram({"--format", "summary", "--output", text, "--plot", link}),
                    ("cannot write " + link + ": ").toUtf8() + Full);
  EXPECT_EQ(ReadFile(text), "the old summary\n");
  ExpectRefusalLine(RunReportProgram({"--format", "summary", "--plot", link}),
                    ("cannot write " + link + ": ").toUtf8() + Full);
  EXPECT_TRUE(QFileInfo(link).isSymLink());
  EXPECT_EQ(QDir(d_dir.path()).entryList({"summary*"}, QDir::Files), QStringList("summary.txt"));
}

// An output in a missing directory is refused before any work. A hundred
// million trials would run for hours: the study's refusal can only come
// quickly if the outputs are opened first (the test's time limit is the
// check that they were).
TEST_F(ReportOutputTest, AnOutputInAMissingDirectoryIsRefusedBeforeAnyWork)
{
  const QString plot = d_dir.filePath("no/such/dir/error.png");
  const QStringList study = {"--monte-carlo", "100000000", "--quiet"};
  for (const QStringList &arguments :
       {QStringList{"--plot", plot}, QStringList{"--capture", d_capture, "--scope", plot},
        QStringList{"--merge", "--plot", plot} + d_shards, study + QStringList{"--output", plot},
        study + QStringList{"--output", "/dev/null", "--plot", plot}}) {
    SCOPED_TRACE(qPrintable(arguments.join(' ')));
    ExpectRefusalLine(RunReportProgram(arguments),
                      ("cannot write " + plot + ": ").toUtf8() + NoSuchFile);
  }
  EXPECT_TRUE(NewFiles().isEmpty()) << qPrintable(NewFiles().join(' '));
}

// A capture that cannot be read leaves the outputs unopened in effect:
// nothing is created beside them.
TEST_F(ReportOutputTest, ARefusedCaptureCreatesNoOutput)
{
  const QString out = d_dir.filePath("out.csv"), plot = d_dir.filePath("e.png");
  ExpectRefusal(RunReportProgram({"--capture", "-", "--output", out, "--plot", plot}, "1,2\n"),
                "standard input: only 1 data row;");
  EXPECT_TRUE(NewFiles().isEmpty()) << qPrintable(NewFiles().join(' '));
}
