#include <QLocale>
#include <QScrollBar>
#include <QtTest>

#include "evaluationreport.h"
#include "windowfixture.h"

namespace {

QStringList captured_messages;
void CaptureMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
  captured_messages << message;
}

}  // namespace

class EvaluationTest : public WindowFixture
{
protected:
  QStringList Lines() const { return text->toPlainText().split('\n'); }
  void Setup(const char *pitch, const char *resolution)
  {
    Combo("scale_pitch")->setCurrentText(pitch);
    Combo("resolution")->setCurrentText(resolution);
  }
  // Five header lines, two of them followed by an empty one.
  static const int FirstRow = 7;
};

TEST_F(EvaluationTest, StartReportAndGraphShowEightyPoints)
{
  const QStringList lines = Lines();
  ASSERT_EQ(lines.size(), FirstRow + 80);
  EXPECT_EQ(lines.mid(0, FirstRow),
            QStringList({"Scale Pitch:        0.0400", "Scale Resolution:   0.0050",
                         "Interpolator Count: 8", "", "Point#    Position   Interpolation Error",
                         QString(40, '-'), ""}));
  EXPECT_EQ(lines[FirstRow + 0], "    1    -0.0020    -0.0020");
  EXPECT_EQ(lines[FirstRow + 1], "    2    -0.0010    -0.0010");
  // The last forward point and the first return point meet.
  EXPECT_EQ(lines[FirstRow + 39], "   40     0.0370     0.0020");
  EXPECT_EQ(lines[FirstRow + 40], "   41     0.0370     0.0020");

  ASSERT_EQ(error_graph->DataSetCount(), 1);
  const TDataSet &curve = error_graph->DataSet(0);
  EXPECT_EQ(curve.Color, QColor(0, 0, 128, 255));
  EXPECT_EQ(curve.Style, 0);
  ASSERT_EQ(curve.Points.size(), 80u);
  for (int i = 0; i < 80; ++i)
    EXPECT_EQ(lines[FirstRow + i], EvaluationRow(i + 1, curve.Points[i])) << i;
  EXPECT_EQ(EvaluationRow(12000, TVector2(-0.01234, -0.00005)), "12000    -0.0123    -0.0001");
}

TEST_F(EvaluationTest, CountIsRoundedAndOneAppendMatchesLineByLine)
{
  QLocale::setDefault(QLocale(QLocale::German));  // decimal comma
  for (const auto &c :
       {std::make_tuple("0.120", "0.0001", 1200), std::make_tuple("0.020", "0.0100", 2)}) {
    Setup(std::get<0>(c), std::get<1>(c));
    const int count = std::get<2>(c);
    EXPECT_EQ(Lines()[2], QString("Interpolator Count: %1").arg(count));
    EXPECT_EQ(Lines().size(), FirstRow + 10 * count);
    EXPECT_EQ(error_graph->PointCount(0), 10 * count);
  }
  QLocale::setDefault(QLocale::c());
  EXPECT_EQ(Lines()[0], "Scale Pitch:        0.0200");

  Setup("0.120", "0.0010");
  QPlainTextEdit by_line;
  for (const QString &line : EvaluationHeaderLines(0.120, 0.0010, 120))
    by_line.appendPlainText(line);
  for (int i = 0; i < error_graph->PointCount(0); ++i)
    by_line.appendPlainText(EvaluationRow(i + 1, error_graph->Point(0, i)));
  EXPECT_EQ(text->toPlainText(), by_line.toPlainText());
  EXPECT_EQ(text->document()->blockCount(), by_line.document()->blockCount());
}

TEST_F(EvaluationTest, ReadersPlaceSurvivesAndIsClampedToAShorterReport)
{
  tabs->setCurrentIndex(1);
  window.resize(500, 500);
  ShowActive();
  Setup("0.100", "0.0050");  // 200 rows: room to scroll
  QTextCursor cursor = text->textCursor();
  cursor.setPosition(1234);
  text->setTextCursor(cursor);
  QScrollBar *vertical = text->verticalScrollBar();
  QScrollBar *horizontal = text->horizontalScrollBar();
  ASSERT_GT(vertical->maximum(), 40);
  vertical->setValue(37);
  horizontal->setValue(horizontal->maximum() / 2);
  const int horizontal_before = horizontal->value();
  Combo("resolution")->setCurrentText("0.0010");
  Box("gain_a")->setValue(0.8);
  EXPECT_EQ(text->textCursor().position(), 1234);
  EXPECT_FALSE(text->textCursor().hasSelection());
  EXPECT_EQ(vertical->value(), 37);
  EXPECT_EQ(horizontal->value(), horizontal_before);

  text->moveCursor(QTextCursor::End);
  captured_messages.clear();
  const QtMessageHandler previous = qInstallMessageHandler(CaptureMessage);
  Setup("0.020", "0.0100");  // 20 rows
  qInstallMessageHandler(previous);
  EXPECT_TRUE(captured_messages.isEmpty()) << captured_messages.join('\n').toStdString();
  EXPECT_EQ(text->textCursor().position(), text->document()->characterCount() - 1);
}
