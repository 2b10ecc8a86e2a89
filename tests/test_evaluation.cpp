#include <QLocale>
#include <QScrollBar>

#include "testhelpers.h"

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

TEST_F(EvaluationTest, StartReportShowsTheIdealSawtooth)
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
  EXPECT_EQ(lines[FirstRow + 79], "   80    -0.0020    -0.0020");
  EXPECT_TRUE(status->text().isEmpty());

  ASSERT_EQ(error_graph->DataSetCount(), 1);
  const TDataSet &curve = error_graph->DataSet(0);
  EXPECT_EQ(curve.Color, QColor(0, 0, 128, 255));
  EXPECT_EQ(curve.Style, 0);
  ASSERT_EQ(curve.Points.size(), 80u);
  EXPECT_NEAR(curve.Points[4].x, 0.002, 1e-15);
  EXPECT_NEAR(curve.Points[44].y, -0.002, 1e-15);
}

// A fine resolution's sawtooth (two counts of 0.0001 either way) still
// fills a view of +-0.001 mm, plus 1/50 of the span as a margin; a
// coarse one's larger error sets the view itself.
TEST_F(EvaluationTest, ErrorGraphShowsAtLeastAThousandthOfAMmEitherWay)
{
  ShowActive();
  tabs->setCurrentIndex(0);
  const QRect &plot = error_graph->PlotRect();
  Setup("0.040", "0.0001");
  EXPECT_NEAR(error_graph->Mapping().UnmapY(plot.top()), 0.00104, 1e-12);
  EXPECT_NEAR(error_graph->Mapping().UnmapY(plot.bottom()), -0.00104, 1e-12);
  Setup("0.040", "0.0050");
  EXPECT_GT(error_graph->Mapping().UnmapY(plot.top()), 0.002);
}

TEST_F(EvaluationTest, CountIsRoundedAndNumbersIgnoreTheLocale)
{
  QLocale::setDefault(QLocale(QLocale::German));  // decimal comma
  for (const auto &c :
       {std::make_tuple("0.120", "0.0001", 1200), std::make_tuple("0.020", "0.0100", 2)}) {
    Setup(std::get<0>(c), std::get<1>(c));
    const int count = std::get<2>(c);
    EXPECT_EQ(Lines()[2], QString("Interpolator Count: %1").arg(count));
    // One paragraph a line, whichever way the report was appended.
    EXPECT_EQ(text->document()->blockCount(), FirstRow + 10 * count);
    EXPECT_EQ(error_graph->PointCount(0), 10 * count);
  }
  QLocale::setDefault(QLocale::c());
  EXPECT_EQ(Lines()[0], "Scale Pitch:        0.0200");
  EXPECT_EQ(Lines()[1], "Scale Resolution:   0.0100");
  EXPECT_EQ(Lines()[FirstRow], "    1    -0.0040    -0.0040");
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

// Scrolled to the end of 12000 rows, the reader changes the setup to 800
// rows while the error graph shows: the table must open on its last page,
// as it does when the change is made with the table in view.
TEST_F(EvaluationTest, AChangeWhileTheTableIsHiddenOpensItOnAFullPage)
{
  std::pair<int, int> seen[2];  // first and last visible line
  for (bool hidden : {false, true}) {
    TVantrel other;
    other.show();
    const auto find = [&other](const char *name) { return other.findChild<QWidget *>(name); };
    QPlainTextEdit *table = qobject_cast<QPlainTextEdit *>(find("text_output"));
    QTabWidget *pages = qobject_cast<QTabWidget *>(find("output_tabs"));
    const auto setup = [&find](const char *pitch, const char *resolution) {
      qobject_cast<QComboBox *>(find("scale_pitch"))->setCurrentText(pitch);
      qobject_cast<QComboBox *>(find("resolution"))->setCurrentText(resolution);
    };
    pages->setCurrentIndex(1);
    setup("0.120", "0.0001");
    QApplication::processEvents();
    table->verticalScrollBar()->setValue(table->verticalScrollBar()->maximum());
    if (hidden)
      pages->setCurrentIndex(0);
    setup("0.040", "0.0005");
    qobject_cast<QDoubleSpinBox *>(find("gain_a"))->setValue(0.9);  // a second change
    pages->setCurrentIndex(1);
    QApplication::processEvents();
    seen[hidden] = {
        table->cursorForPosition(QPoint(0, 0)).blockNumber(),
        table->cursorForPosition(QPoint(0, table->viewport()->height() - 1)).blockNumber()};
  }
  const int last = FirstRow + 800 - 1;
  EXPECT_EQ(seen[0].second, last);
  EXPECT_GT(last - seen[0].first, 5);  // a page of rows, not one
  EXPECT_EQ(seen[1], seen[0]);
}
