// Outputs that cannot be written: a full device as standard output or as
// a file, a plot that cannot be put in place, and an output that fails
// before a long study starts. Each is exit status 2 with the system's own
// reason, and no file is created or changed.
#include <gtest/gtest.h>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>

#include "angles.h"
#include "outputtransaction.h"
#include "reportprocess.h"

namespace {

// strerror(ENOSPC) and strerror(ENOENT) on Linux, written out here so the
// test does not ask the code under test for the words it must print.
const QByteArray Full = "No space left on device";
const QByteArray NoSuchFile = "No such file or directory";

// Rows "A,B" of a clean channel pair over two periods.
QByteArray CaptureText()
{
  QByteArray text;
  for (int i = 0; i < 400; ++i) {
    const double t = TwoPi * 2.0 * i / 400;
    text += QByteArray::number(0.5 * std::sin(t), 'g', 17) + ',' +
            QByteArray::number(0.5 * std::cos(t), 'g', 17) + '\n';
  }
  return text;
}

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
    d_capture = d_dir.filePath("capture.csv");
    WriteFile(d_capture, CaptureText());
    const QStringList study = {"--monte-carlo", "30", "--tolerance", "gain=0.02", "--quiet"};
    for (int k = 0; k < 2; ++k) {
      d_shards << d_dir.filePath(QString("shard%1.json").arg(k));
      const TReportRun run =
          RunReportProgram(study + QStringList{"--shard", QString("%1/2").arg(k), "--format",
                                               "json", "--output", d_shards.last()});
      ASSERT_TRUE(run.ExitCode == 0 || run.ExitCode == 1) << run.Err.constData();
    }
  }

  std::vector<TModeCase> Modes() const
  {
    const QStringList study = {"--monte-carlo", "30", "--tolerance", "gain=0.02", "--quiet"};
    return {
        {"table", {}},
        {"csv", {"--format", "csv"}},
        {"summary", {"--format", "summary"}},
        {"json", {"--format", "json"}},
        {"sweep", {"--sweep", "gain-a=0.9:1.1:3"}},
        {"capture summary", {"--capture", d_capture}},
        {"capture csv", {"--capture", d_capture, "--format", "csv"}},
        {"study summary", study},
        {"study csv", study + QStringList{"--format", "csv"}},
        {"merge", QStringList{"--merge", "--format", "json"} + d_shards},
    };
  }

  // The directory's files besides the capture and the shards.
  QStringList NewFiles() const
  {
    QStringList files = QDir(d_dir.path()).entryList(QDir::Files | QDir::System);
    files.removeAll("capture.csv");
    for (const QString &shard : d_shards)
      files.removeAll(QFileInfo(shard).fileName());
    return files;
  }

  QTemporaryDir d_dir;
  QString d_capture;
  QStringList d_shards;
};

}  // namespace

TEST_F(ReportOutputTest, EveryModeRefusesAFullStandardOutput)
{
  for (const TModeCase &mode : Modes()) {
    SCOPED_TRACE(mode.Name);
    const TReportRun run = RunReportProgram(mode.Arguments, {}, "/dev/full");
    EXPECT_FALSE(run.Crashed);
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Err, "vantrel-report: cannot write standard output: " + Full + "\n");
  }
  // Help and version are output too.
  for (const char *option : {"--help", "--version"})
    EXPECT_EQ(RunReportProgram({option}, {}, "/dev/full").ExitCode, 2) << option;
}

TEST_F(ReportOutputTest, EveryModeRefusesAFullOutputDevice)
{
  for (const TModeCase &mode : Modes()) {
    SCOPED_TRACE(mode.Name);
    ExpectRefusalLine(RunReportProgram(mode.Arguments + QStringList{"--output", "/dev/full"}),
                      "cannot write /dev/full: " + Full);
  }
  EXPECT_TRUE(NewFiles().isEmpty()) << qPrintable(NewFiles().join(' '));
}

// The counter of this setup does not return, which alone is status 1; a
// lost output outranks it, and its message is the only line.
TEST_F(ReportOutputTest, AWriteFailureOutranksALostCount)
{
  const QStringList lost = {"--gain-a", "0.5", "--offset-a", "0.6"};
  ASSERT_EQ(RunReportProgram(lost + QStringList{"--output", "/dev/null"}).ExitCode, 1);
  const TReportRun run = RunReportProgram(lost, {}, "/dev/full");
  EXPECT_EQ(run.ExitCode, 2);
  EXPECT_EQ(run.Err, "vantrel-report: cannot write standard output: " + Full + "\n");
}

TEST_F(ReportOutputTest, AFailedOutputLeavesNoPlotAndKeepsAnOldOne)
{
  const QString svg = d_dir.filePath("error.svg");
  ExpectRefusalLine(
      RunReportProgram({"--format", "summary", "--plot", svg, "--output", "/dev/full"}),
      "cannot write /dev/full: " + Full);
  EXPECT_TRUE(NewFiles().isEmpty()) << qPrintable(NewFiles().join(' '));

  const QByteArray old = "<svg>an older plot</svg>\n";
  WriteFile(svg, old);
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
// fails when flushed, after the text file is complete: the text file
// must still be as it was.
TEST_F(ReportOutputTest, AFullPlotDeviceLeavesTheTextFileAsItWas)
{
  const QString link = d_dir.filePath("full.png");
  ASSERT_TRUE(QFile::link("/dev/full", link));
  const QString text = d_dir.filePath("summary.txt");
  WriteFile(text, "the old summary\n");
  ExpectRefusalLine(RunReportProgram({"--format", "summary", "--output", text, "--plot", link}),
                    ("cannot write " + link + ": ").toUtf8() + Full);
  EXPECT_EQ(ReadFile(text), "the old summary\n");
  EXPECT_TRUE(QFileInfo(link).isSymLink());
  EXPECT_EQ(QDir(d_dir.path()).entryList({"summary*"}, QDir::Files), QStringList("summary.txt"));
}

TEST_F(ReportOutputTest, APlotInAMissingDirectoryIsRefusedBeforeAnyWork)
{
  const QString plot = d_dir.filePath("no/such/dir/error.png");
  const QByteArray says = ("cannot write " + plot + ": ").toUtf8() + NoSuchFile;
  ExpectRefusalLine(RunReportProgram({"--plot", plot}), says);
  ExpectRefusalLine(RunReportProgram({"--capture", d_capture, "--scope", plot}), says);
  ExpectRefusalLine(RunReportProgram({"--merge", "--plot", plot, d_shards[0], d_shards[1]}), says);
  EXPECT_TRUE(NewFiles().isEmpty()) << qPrintable(NewFiles().join(' '));
}

// A hundred million trials would run for hours: the refusal can only come
// quickly if the output is opened first (the test's time limit is the
// check that it did).
TEST_F(ReportOutputTest, AnUnwritableOutputStopsAStudyBeforeItStarts)
{
  ExpectRefusalLine(
      RunReportProgram({"--monte-carlo", "100000000", "--quiet", "--output", "/nonexistent/dir/x"}),
      "cannot write /nonexistent/dir/x: " + NoSuchFile);
  ExpectRefusalLine(RunReportProgram({"--monte-carlo", "100000000", "--quiet", "--output",
                                      "/dev/null", "--plot", "/nonexistent/dir/h.png"}),
                    "cannot write /nonexistent/dir/h.png: " + NoSuchFile);
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

// The transaction on its own: the text reaches standard output only after
// every file is in place, and a failed file leaves every other as it was.
TEST(OutputTransactionTest, TextFollowsTheFilesAndAFailureTouchesNothing)
{
  QTemporaryDir dir;
  const QString kept = dir.filePath("kept.txt");
  WriteFile(kept, "old\n");
  {
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    TOutputTransaction output(out);
    output.OpenText(QString());
    QIODevice *file = output.OpenFile(kept);
    ASSERT_NE(file, nullptr);
    file->write("new\n");
    EXPECT_EQ(ReadFile(kept), "old\n");  // written beside it until the commit
    EXPECT_TRUE(output
                    .Commit([&](QIODevice &Device) {
                      EXPECT_EQ(ReadFile(kept), "new\n");
                      Device.write("text");
                    })
                    .isEmpty());
    EXPECT_EQ(out.data(), "text");
  }
  {
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    TOutputTransaction output(out);
    output.OpenText(kept);
    QIODevice *full = output.OpenFile("/dev/full");
    ASSERT_NE(full, nullptr);
    full->write("a plot");  // kept in the file's buffer until the commit
    EXPECT_EQ(output.Commit([](QIODevice &Device) { Device.write("newer\n"); }),
              "cannot write /dev/full: " + Full);
    EXPECT_EQ(ReadFile(kept), "new\n");
    EXPECT_TRUE(out.data().isEmpty());
    // Nothing opens after a failure, so a run cannot half-continue.
    EXPECT_EQ(output.OpenFile(dir.filePath("later.txt")), nullptr);
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList("kept.txt"));

  // Standard output that refuses the text is a failure of its own.
  QBuffer closed;
  TOutputTransaction output(closed);
  output.OpenText(QString());
  EXPECT_TRUE(output.Commit([](QIODevice &Device) { Device.write("text"); })
                  .startsWith("cannot write standard output: "));
}
