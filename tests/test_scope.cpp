#include <QSignalSpy>
#include <QTabBar>
#include <QtTest>
#include <algorithm>

#include "testhelpers.h"

namespace {

const QColor DarkRed(128, 0, 0), DarkGreen(0, 128, 0), DarkBlue(0, 0, 128);

bool Same(const std::vector<TVector2> &a, const std::vector<TVector2> &b)
{
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const TVector2 &p, const TVector2 &q) { return p.x == q.x && p.y == q.y; });
}

}  // namespace

class ScopeTest : public WindowFixture
{
protected:
  std::vector<TVector2> Curve(int set) { return scope->DataSet(set).Points; }
  double HighestA()
  {
    const std::vector<TVector2> a = Curve(0);
    return std::max_element(a.begin(), a.end(), [](auto &p, auto &q) { return p.y < q.y; })->y;
  }
};

TEST_F(ScopeTest, EveryKeystrokeThatChangesAValueRedrawsAtOnce)
{
  ASSERT_EQ(scope->DataSetCount(), 2);
  EXPECT_EQ(scope->DataSet(0).Color, DarkRed);
  EXPECT_EQ(scope->DataSet(1).Color, DarkGreen);
  ShowActive();
  QDoubleSpinBox *gain = Box("gain_a");
  QSignalSpy changes(gain, SIGNAL(valueChanged(double)));
  const QString report = text->toPlainText();
  gain->setFocus();
  gain->selectAll();
  QTest::keyClicks(gain, "0.5");  // "0" and "0." lie below the range
  EXPECT_EQ(changes.count(), 1);
  EXPECT_NEAR(HighestA(), 0.5, 1e-3);
  EXPECT_NE(text->toPlainText(), report);
  QTest::keyClick(gain, Qt::Key_Up);
  EXPECT_EQ(changes.count(), 2);
  EXPECT_NEAR(HighestA(), 0.55, 1e-3);
}

TEST_F(ScopeTest, EachBoxRebuildsItsOwnChannelAndRerunsTheEvaluation)
{
  const std::tuple<const char *, double, int> cases[] = {
      {"gain_a", 0.5, 0}, {"offset_a", 0.3, 0},  {"phase_a", 0.2, 0},
      {"gain_b", 1.5, 1}, {"offset_b", -0.4, 1}, {"phase_b", -0.3, 1}};
  for (const auto &c : cases) {
    const std::vector<TVector2> a = Curve(0), b = Curve(1);
    text->setPlainText("marker");
    Box(std::get<0>(c))->setValue(std::get<1>(c));
    EXPECT_EQ(Same(Curve(0), a), std::get<2>(c) != 0) << std::get<0>(c);
    EXPECT_EQ(Same(Curve(1), b), std::get<2>(c) != 1) << std::get<0>(c);
    EXPECT_NE(text->toPlainText(), "marker") << std::get<0>(c);
  }
}

// A pitch or resolution change refits only the error graph: a zoom made
// in the oscilloscope stays until a channel or the mode changes. The fit
// always shows the full signal range: at gain 0.5 it still spans -1 ... +1,
// plus 1/50 of the span as a margin on each side.
TEST_F(ScopeTest, SetupChangesLeaveTheScopeAndItsZoomAloneAndTheFitSpansTheSignal)
{
  ShowActive();
  scope->ZoomOut();
  QApplication::processEvents();
  const TGraphMapping zoomed = scope->Mapping();
  const std::vector<TVector2> a = Curve(0), b = Curve(1);
  const TGraphMapping error_view = error_graph->Mapping();
  Combo("scale_pitch")->setCurrentText("0.120");
  QApplication::processEvents();
  EXPECT_TRUE(Same(Curve(0), a) && Same(Curve(1), b));
  EXPECT_EQ(scope->Mapping().m11, zoomed.m11);
  EXPECT_EQ(scope->Mapping().dy, zoomed.dy);
  EXPECT_NE(error_graph->Mapping().m11, error_view.m11);
  Box("gain_b")->setValue(0.5);
  EXPECT_NE(scope->Mapping().m11, zoomed.m11);
  Box("gain_a")->setValue(0.5);
  EXPECT_NEAR(scope->Mapping().UnmapY(scope->PlotRect().top()), 1.04, 1e-12);
  EXPECT_NEAR(scope->Mapping().UnmapY(scope->PlotRect().bottom()), -1.04, 1e-12);
}

TEST_F(ScopeTest, ModeAndTabSwitchesLeaveTheEvaluationAlone)
{
  Box("offset_b")->setValue(1.0);
  EXPECT_EQ(status->text(), "Scale count not zero on return");
  const std::vector<TVector2> a = Curve(0), b = Curve(1);
  text->setPlainText("marker");  // a rerun of the evaluation would replace it
  ShowActive();
  QTest::mouseClick(scope_mode, Qt::LeftButton);
  QTest::mouseClick(scope_mode, Qt::LeftButton);
  QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, Qt::NoModifier,
                    tabs->tabBar()->tabRect(1).center());
  EXPECT_EQ(tabs->currentIndex(), 1);
  EXPECT_EQ(scope->Title(), "Oscilloscope - Dual Channel Mode");
  EXPECT_EQ(scope->HTitle(), "Channel AB Radian Position");
  EXPECT_EQ(scope->VTitle(), "Signal");
  EXPECT_FALSE(scope->EqualAspect());
  EXPECT_TRUE(IconShows(":/gui/gui_ty.png"));
  ASSERT_EQ(scope->DataSetCount(), 2);
  EXPECT_TRUE(Same(Curve(0), a) && Same(Curve(1), b));
  EXPECT_EQ(text->toPlainText(), "marker");
  EXPECT_EQ(status->text(), "Scale count not zero on return");
  Box("offset_b")->setValue(0.0);
  EXPECT_TRUE(status->text().isEmpty());
}

// Channel A at half gain and offset 0.2 against a full channel B: on one
// common scale the figure is half as wide as it is high, its centre at
// A = 0.2, B = 0. Swapped axes would make it twice as wide.
TEST_F(ScopeTest, XYFigureIsBAgainstAOnOneScale)
{
  window.resize(1000, 800);
  ShowActive();
  QTest::mouseClick(scope_mode, Qt::LeftButton);
  EXPECT_EQ(scope->Title(), "Oscilloscope - XY Mode");
  EXPECT_EQ(scope->HTitle(), "Channel A (SIN)");
  EXPECT_EQ(scope->VTitle(), "Channel B (COS)");
  EXPECT_TRUE(IconShows(":/gui/gui_xy.png"));
  ASSERT_EQ(scope->DataSetCount(), 1);
  EXPECT_EQ(scope->DataSet(0).Color, DarkBlue);
  EXPECT_EQ(scope->DataSet(0).Points.size(), 400u);
  Box("gain_a")->setValue(0.5);
  Box("offset_a")->setValue(0.2);
  const QImage image = scope->Pixmap().toImage();
  ASSERT_GT(image.width(), image.height());
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (QColor(image.pixel(x, y)) == DarkBlue)
        box |= QRect(x, y, 1, 1);
  ASSERT_GT(box.height(), 50);
  EXPECT_NEAR(double(box.width()) / box.height(), 0.5, 0.02)
      << box.width() << " x " << box.height();
  // The pixmap is squeezed by one pixel in (size + 1) into the widget.
  const TGraphMapping &map = scope->Mapping();
  const double across = (image.width() - 1.0) / image.width();
  const double down = (image.height() - 1.0) / image.height();
  EXPECT_NEAR((box.left() + box.right()) / 2.0, map.MapX(0.2) * across, 1.5);
  EXPECT_NEAR((box.top() + box.bottom()) / 2.0, map.MapY(0.0) * down, 1.5);
}
