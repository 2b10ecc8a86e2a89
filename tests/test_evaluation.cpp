#include <QLocale>
#include <QScrollBar>
#include <QTabBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QtTest>

#include "evaluationreport.h"
#include "windowfixture.h"

namespace {

// Lines of the report, as the text table shows them.
QStringList Lines(const QPlainTextEdit *edit)
{
  return edit->toPlainText().split('\n');
}

// The header takes seven lines: five, each of two followed by an empty one.
const int FirstRowLine = 7;

// Collects the toolkit's warnings, so a test can insist there were none.
QStringList captured_messages;
void CaptureMessage(QtMsgType, const QMessageLogContext &, const QString &text)
{
  captured_messages << text;
}

}  // namespace

using EvaluationTest = WindowFixture;

TEST_F(EvaluationTest, StartReportShowsHeaderAndEightyRows)
{
  const QStringList lines = Lines(text_output);
  ASSERT_EQ(lines.size(), FirstRowLine + 80);
  EXPECT_EQ(lines[0], "Scale Pitch:        0.0400");
  EXPECT_EQ(lines[1], "Scale Resolution:   0.0050");
  EXPECT_EQ(lines[2], "Interpolator Count: 8");
  EXPECT_EQ(lines[3], "");
  EXPECT_EQ(lines[4], "Point#    Position   Interpolation Error");
  EXPECT_EQ(lines[5], QString(40, '-'));
  EXPECT_EQ(lines[6], "");
  EXPECT_EQ(lines[FirstRowLine + 0], "    1    -0.0020    -0.0020");
  EXPECT_EQ(lines[FirstRowLine + 1], "    2    -0.0010    -0.0010");
  // The last forward point and the first return point meet.
  EXPECT_EQ(lines[FirstRowLine + 39], "   40     0.0370     0.0020");
  EXPECT_EQ(lines[FirstRowLine + 40], "   41     0.0370     0.0020");
  EXPECT_TRUE(lines.last().startsWith("   80 "));
  EXPECT_TRUE(status->text().isEmpty());
}

TEST_F(EvaluationTest, ErrorGraphHoldsOneDarkBlueCurveOfTheTableRows)
{
  ASSERT_EQ(error_graph->DataSetCount(), 1);
  const TDataSet &curve = error_graph->DataSet(0);
  EXPECT_EQ(curve.Color, QColor(0, 0, 128, 255));
  EXPECT_EQ(curve.Style, 0);
  ASSERT_EQ(curve.Points.size(), 80u);
  const QStringList lines = Lines(text_output);
  for (int i = 0; i < 80; ++i)
    EXPECT_EQ(lines[FirstRowLine + i], EvaluationRow(i + 1, curve.Points[i])) << i;
}

TEST_F(EvaluationTest, CountFollowsPitchAndResolution)
{
  struct Case
  {
    const char *pitch;
    const char *resolution;
    int count;
  };
  // 0.120 / 0.0001 is a hair below 1200 in double arithmetic.
  for (const Case &c : {Case{"0.120", "0.0001", 1200}, Case{"0.020", "0.0100", 2},
                        Case{"0.100", "0.0005", 200}, Case{"0.040", "0.0050", 8}}) {
    SCOPED_TRACE(c.pitch);
    scale_pitch->setCurrentText(c.pitch);
    resolution->setCurrentText(c.resolution);
    const QStringList lines = Lines(text_output);
    EXPECT_EQ(lines[2], QString("Interpolator Count: %1").arg(c.count));
    EXPECT_EQ(lines.size(), FirstRowLine + 10 * c.count);
    EXPECT_EQ(error_graph->PointCount(0), 10 * c.count);
    EXPECT_TRUE(lines.last().startsWith(QString::asprintf("%5d ", 10 * c.count)));
  }
}

TEST_F(EvaluationTest, OneAppendGivesTheSameDocumentAsLineByLine)
{
  QLocale::setDefault(QLocale(QLocale::German));  // decimal comma
  scale_pitch->setCurrentText("0.120");
  resolution->setCurrentText("0.0010");
  QLocale::setDefault(QLocale::c());

  QPlainTextEdit by_line;
  for (const QString &line : EvaluationHeaderLines(0.120, 0.0010, 120))
    by_line.appendPlainText(line);
  for (int i = 0; i < error_graph->PointCount(0); ++i)
    by_line.appendPlainText(EvaluationRow(i + 1, error_graph->Point(0, i)));

  EXPECT_EQ(text_output->toPlainText(), by_line.toPlainText());
  EXPECT_EQ(text_output->document()->blockCount(), by_line.document()->blockCount());
  EXPECT_EQ(Lines(text_output)[0], "Scale Pitch:        0.1200");
}

TEST_F(EvaluationTest, RowsKeepTheMinusSignInsideTheField)
{
  EXPECT_EQ(EvaluationRow(7, TVector2(-0.01234, 1.5)), "    7    -0.0123     1.5000");
  EXPECT_EQ(EvaluationRow(12000, TVector2(0.1199, -0.00005)), "12000     0.1199    -0.0001");
}

TEST_F(EvaluationTest, StatusReportsACounterThatDoesNotComeBack)
{
  offset_b->setValue(1.0);
  EXPECT_EQ(status->text(), "Scale count not zero on return");
  // The table and the graph still show every point.
  EXPECT_EQ(Lines(text_output).size(), FirstRowLine + 80);
  EXPECT_EQ(error_graph->PointCount(0), 80);
  offset_b->setValue(0.9);
  EXPECT_TRUE(status->text().isEmpty());
  offset_b->setValue(1.0);
  EXPECT_FALSE(status->text().isEmpty());
  offset_b->setValue(0.0);
  EXPECT_TRUE(status->text().isEmpty());
}

TEST_F(EvaluationTest, ReadersPlaceSurvivesRecomputation)
{
  output_tabs->setCurrentIndex(1);
  window->resize(500, 500);
  ShowActive();
  scale_pitch->setCurrentText("0.100");  // 200 rows: room to scroll
  QTextCursor cursor = text_output->textCursor();
  cursor.setPosition(1234);
  text_output->setTextCursor(cursor);
  QScrollBar *vertical = text_output->verticalScrollBar();
  QScrollBar *horizontal = text_output->horizontalScrollBar();
  ASSERT_GT(vertical->maximum(), 40);
  vertical->setValue(37);
  horizontal->setValue(horizontal->maximum() / 2);
  const int horizontal_before = horizontal->value();

  resolution->setCurrentText("0.0010");
  gain_a->setValue(0.8);

  EXPECT_EQ(text_output->textCursor().position(), 1234);
  EXPECT_FALSE(text_output->textCursor().hasSelection());
  EXPECT_EQ(vertical->value(), 37);
  EXPECT_EQ(horizontal->value(), horizontal_before);
}

TEST_F(EvaluationTest, CursorBeyondAShorterReportLandsAtItsEnd)
{
  scale_pitch->setCurrentText("0.120");
  resolution->setCurrentText("0.0001");
  QTextCursor cursor = text_output->textCursor();
  cursor.movePosition(QTextCursor::End);
  text_output->setTextCursor(cursor);

  captured_messages.clear();
  const QtMessageHandler previous = qInstallMessageHandler(CaptureMessage);
  resolution->setCurrentText("0.0100");  // 12 rows instead of 12000
  qInstallMessageHandler(previous);

  EXPECT_TRUE(captured_messages.isEmpty()) << captured_messages.join('\n').toStdString();
  EXPECT_EQ(text_output->textCursor().position(),
            text_output->document()->characterCount() - 1);
}

TEST_F(EvaluationTest, SwitchingTabsRecomputesNothing)
{
  // Marks the outputs by hand; a recomputation would overwrite them.
  text_output->setPlainText("untouched");
  error_graph->AddDataSet(Qt::red, 0);
  ShowActive();
  QTest::mouseClick(output_tabs->tabBar(), Qt::LeftButton, Qt::NoModifier,
                    output_tabs->tabBar()->tabRect(1).center());
  ASSERT_EQ(output_tabs->currentIndex(), 1);
  output_tabs->setCurrentIndex(0);
  EXPECT_EQ(text_output->toPlainText(), "untouched");
  EXPECT_EQ(error_graph->DataSetCount(), 2);
}
