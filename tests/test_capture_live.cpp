// The window live, against the simulated oscilloscope: frames arrive and
// the boxes follow their fit, the checks are coloured by verdict, Hold
// freezes the frame, Save writes it, a lost instrument stops with its
// problem and leaves the last frame.
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "fakescopeprocess.h"
#include "graphstyle.h"
#include "pdftext.h"
#include "reportprocess.h"
#include "testhelpers.h"

class CaptureLiveTest : public WindowFixture
{
protected:
  CaptureLiveTest()
  {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  }
  QTemporaryDir settings;
  QLabel *notice = Find<QLabel>("notice");
  QTableWidget *checks = Find<QTableWidget>("checks");
  QPlainTextEdit *figures = Find<QPlainTextEdit>("capture_text");
};

TEST_F(CaptureLiveTest, FramesArriveHoldFreezesSaveWritesALostInstrumentStops)
{
  // A = 0.1 + 0.8 sin(t + 0.2), B = -0.05 + 0.9 cos t with noise, so each
  // frame's figures differ. Divided by the larger peak, 0.95: gains 0.84
  // and 0.95, offsets 0.11 and -0.05.
  auto fake = std::make_unique<TFake>(
      QStringList{"--gain-a", "0.8", "--offset-a", "0.1", "--phase-a", "0.2", "--gain-b", "0.9",
                  "--offset-b", "-0.05", "--noise", "0.003", "--points", "4000"});
  const QString source = QString::fromStdString(fake->Name);
  EXPECT_FALSE(window.StartAcquisition("tcp://nowhere"));
  EXPECT_TRUE(notice->text().contains("unknown kind of source 'tcp'"))
      << notice->text().toStdString();
  ASSERT_TRUE(window.StartAcquisition(source));
  QTRY_VERIFY_WITH_TIMEOUT(window.windowTitle().endsWith(" - " + source), 5000);
  EXPECT_EQ(Box("gain_a")->text(), "0.84");
  EXPECT_EQ(Box("offset_a")->text(), "0.11");
  EXPECT_EQ(Box("gain_b")->text(), "0.95");
  EXPECT_EQ(Box("offset_b")->text(), "-0.05");
  EXPECT_EQ(Find<QPushButton>("acquire")->text(), "Stop");

  // The 1 Vpp set: amplitudes 0.8 and 0.9 are beyond 0.6, the offset of A
  // is 12.5 % of its amplitude, beyond 6.5; the ratio 12.5 % passes.
  ASSERT_TRUE(checks->isVisibleTo(&window));
  const auto verdict = [this](const QString &Name) {
    for (int row = 0; row < checks->rowCount(); ++row)
      if (checks->item(row, 0)->text().startsWith(Name))
        return checks->item(row, 4);
    return static_cast<QTableWidgetItem *>(nullptr);
  };
  ASSERT_NE(verdict("amplitude_a"), nullptr);
  EXPECT_EQ(verdict("amplitude_a")->text(), "FAIL");
  EXPECT_EQ(verdict("amplitude_a")->background().color(), FailColor);
  EXPECT_EQ(verdict("offset_a")->text(), "FAIL");
  EXPECT_EQ(verdict("amplitude_ratio")->text(), "PASS");
  EXPECT_EQ(verdict("amplitude_ratio")->background().color(), PassColor);

  // Frames keep coming until Hold; then the figures stand still.
  const QString first = figures->toPlainText();
  QTRY_VERIFY_WITH_TIMEOUT(figures->toPlainText() != first, 5000);
  Find<QPushButton>("hold")->setChecked(true);
  const QString held = figures->toPlainText();
  QTest::qWait(300);
  EXPECT_EQ(figures->toPlainText(), held);
  Find<QPushButton>("hold")->setChecked(false);
  QTRY_VERIFY_WITH_TIMEOUT(figures->toPlainText() != held, 5000);

  // Saved, the frame reads back to the same ellipse within its noise.
  QTemporaryDir dir;
  const QString saved = dir.filePath("frame.csv");
  ASSERT_TRUE(window.SaveFrame(saved));
  const QJsonObject read =
      JsonOf(RunReportProgram({"--capture", saved, "--format", "json"}).Out)["ellipse"].toObject();
  EXPECT_NEAR(read["amplitude_a"].toDouble(), 0.8, 1e-3);
  EXPECT_NEAR(read["offset_b"].toDouble(), -0.05, 1e-3);

  // The protocol of the frame on screen judges it as the table does.
  ASSERT_TRUE(window.SaveProtocol(dir.filePath("live.pdf")));
  if (HasPdfToText())
    ExpectLines(PdfText(dir.filePath("live.pdf")),
                {"^Source: Acquisition " + QRegularExpression::escape(source) + "$",
                 "^amplitude_a +0\\.[78]\\d* .*FAIL$", "^amplitude_ratio \\(%\\) .*PASS$",
                 "^Overall verdict: FAIL"});

  // The instrument gone: its problem in the notice line, the last frame
  // stays, Acquire... again.
  fake.reset();
  QTRY_VERIFY_WITH_TIMEOUT(Find<QPushButton>("acquire")->text() == "Acquire...", 8000);
  EXPECT_TRUE(notice->text().startsWith(source + ": ")) << notice->text().toStdString();
  EXPECT_TRUE(window.windowTitle().endsWith(" - " + source));
  EXPECT_EQ(Box("gain_a")->text(), "0.84");
  window.CloseCapture();
  EXPECT_FALSE(checks->isVisibleTo(&window));
}
