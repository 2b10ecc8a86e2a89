// The report's table against the real window's "Text" tab.
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPlainTextEdit>

#include "reportprocess.h"
#include "testhelpers.h"

namespace {

// A distortion on every control, so a fault in any channel parameter's
// path through the program shows in the text.
const struct
{
  const char *Box;
  const char *Option;
  double Value;
} Distortion[] = {{"gain_a", "--gain-a", 1.15},     {"gain_b", "--gain-b", 0.9},
                  {"offset_a", "--offset-a", 0.05}, {"offset_b", "--offset-b", -0.1},
                  {"phase_a", "--phase-a", 0.3},    {"phase_b", "--phase-b", -0.25}};

}  // namespace

using ReportTableTest = WindowFixture;

TEST_F(ReportTableTest, TableIsTheWindowsTextForAllTwentyFivePairsOfADistortedSetup)
{
  QStringList channel_arguments;
  for (const auto &d : Distortion) {
    Box(d.Box)->setValue(d.Value);
    channel_arguments << d.Option << QString::number(d.Value);
  }
  QComboBox *pitches = Combo("scale_pitch");
  QComboBox *resolutions = Combo("resolution");
  int count_errors = 0;
  for (int p = 0; p < pitches->count(); ++p)
    for (int r = 0; r < resolutions->count(); ++r) {
      pitches->setCurrentIndex(p);
      resolutions->setCurrentIndex(r);
      const QString pitch = pitches->currentText(), resolution = resolutions->currentText();
      SCOPED_TRACE(qPrintable(pitch + " / " + resolution));
      const TReportRun run = RunReportProgram(
          QStringList{"--pitch", pitch, "--resolution", resolution} + channel_arguments);
      ASSERT_FALSE(run.Crashed);
      EXPECT_EQ(run.Out, text->toPlainText().toUtf8() + '\n');
      // The status line decides the exit status and the message; gain A
      // 1.15 with offset 0.05 would reach 1.2, which the limit clips.
      const bool count_error = !status->text().isEmpty();
      count_errors += count_error;
      EXPECT_EQ(run.ExitCode, count_error ? 1 : 0);
      EXPECT_EQ(run.Err,
                "vantrel-report: warning: channel A (SIN) would reach 1.2: the "
                "simulation clips it at +-1\n" +
                    (count_error ? QByteArray("vantrel-report: Scale count not zero on "
                                              "return\n")
                                 : QByteArray()));
    }
  // Both outcomes occur at this setup (seen in the window), so both paths
  // are compared.
  EXPECT_GT(count_errors, 0);
  EXPECT_LT(count_errors, 25);
}
