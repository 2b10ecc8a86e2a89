// The PDF protocol of vantrel-report and of the window, read back with
// pdftotext.
#include <QCryptographicHash>
#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>

#include "pdftext.h"
#include "reportprocess.h"
#include "testhelpers.h"

namespace {

TReportRun RunDated(const QStringList &Arguments)
{
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("SOURCE_DATE_EPOCH", "86400");
  process.setProcessEnvironment(environment);
  return RunProcess(process, VANTREL_REPORT_PROGRAM, Arguments);
}

}  // namespace

// clean.csv was made with offsets 0.05, -0.03, amplitudes 1, 0.95 and a
// phase of 0.08 rad (examples/README.md). Against 1vpp by hand: both
// amplitudes above 0.6 fail; ratio -5 %, offset B -3.15789 % and phase
// 4.58366 deg pass; without a time column the frequency is undecided.
TEST(ReportProtocol, CaptureProtocolHoldsTheFitAndTheChecksAndRepeatsByteForByte)
{
  if (!HasPdfToText())
    GTEST_SKIP() << "pdftotext is not installed";
  QTemporaryDir dir;
  const QString path = dir.filePath("protocol.pdf");
  const QString capture = ExampleFile("clean.csv");
  const QStringList arguments = {"--capture", capture, "--limits", "1vpp", "--protocol", path};
  EXPECT_EQ(RunDated(arguments).ExitCode, 1);
  const QByteArray first = ReadFile(path);
  EXPECT_EQ(RunDated(arguments).ExitCode, 1);
  EXPECT_EQ(ReadFile(path), first);

  QProcess sha;
  sha.start("sha256sum", {capture});
  sha.waitForFinished();
  const QString digest = QString::fromLatin1(sha.readAllStandardOutput()).section(' ', 0, 0);
  ExpectLines(PdfText(path),
              {"^SHA-256: " + digest + "$", "^Date: 1970-01-02 00:00:00 UTC$", "^Offset A +0.05 ",
               "^Offset B +-0.03 ", "^Amplitude B +0.95 ", "^Phase error of A \\(rad\\) +0.08 ",
               "^amplitude_a +1 .*FAIL$", "^amplitude_b +0.95 .*FAIL$",
               "^amplitude_ratio \\(%\\) +-5 .*PASS$", "^offset_b \\(%\\) +-3.15789 .*PASS$",
               "^phase \\(deg\\) +4.58366 .*PASS$", "^frequency \\(Hz\\) .*UNDECIDED$",
               "^Overall verdict: FAIL", "^Correction table, 256 entries$",
               "^Waveform harmonics \\(of the sine\\)$", "^5 +unknown +- +- +-$",
               "^From the radius alone, the third taken as if there were no fifth.$"});
}

// A device that refuses the bytes, a folder that is not there, a name
// that is no PDF's and a mode without signals: exit 2 with one line, and
// the text's file is never made.
TEST(ReportProtocol, AFailedProtocolLeavesNothing)
{
  QTemporaryDir dir;
  const QString full = dir.filePath("full.pdf");
  ASSERT_TRUE(QFile::link("/dev/full", full));
  const QString text = dir.filePath("out.txt");
  const QList<QStringList> cases = {
      {"--protocol", full},
      {"--protocol", dir.filePath("none/protocol.pdf")},
      {"--protocol", dir.filePath("protocol.png")},
      {"--protocol", dir.filePath("protocol.pdf"), "--sweep", "gain-a=0.9:1.1:3"}};
  for (const QStringList &arguments : cases) {
    const TReportRun run = RunReportProgram(arguments + QStringList{"--output", text});
    EXPECT_EQ(run.ExitCode, 2) << qPrintable(arguments.join(' '));
    EXPECT_EQ(run.Err.count('\n'), 1) << run.Err.constData();
  }
  EXPECT_EQ(QDir(dir.path())
                .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{"full.pdf"});
}

class ProtocolWindowTest : public WindowFixture
{};

TEST_F(ProtocolWindowTest, SavesTheSetupTheBoxesHoldOrTheCaptureWithItsFigureInEitherScopeMode)
{
  if (!HasPdfToText())
    GTEST_SKIP() << "pdftotext is not installed";
  Box("gain_a")->setValue(0.83);
  Box("offset_b")->setValue(-0.07);
  QTemporaryDir dir;
  ASSERT_TRUE(window.SaveProtocol(dir.filePath("window.pdf")));
  ExpectLines(PdfText(dir.filePath("window.pdf")),
              {"^Channel A \\(SIN\\) gain +0.83$", "^Channel B \\(COS\\) offset +-0.07$",
               "^Source: Simulation$"});

  // A capture, with the scope showing both channels over time: the
  // protocol still draws the figure with its fitted ellipse.
  ASSERT_TRUE(window.OpenCapture(ExampleFile("clean.csv")));
  ASSERT_TRUE(window.SaveProtocol(dir.filePath("capture.pdf")));
  ExpectLines(PdfText(dir.filePath("capture.pdf")),
              {"^Source: Capture file .*clean.csv$", "Lissajous figure with the fitted ellipse",
               "^Waveform harmonics \\(of the sine\\)$"});
}
