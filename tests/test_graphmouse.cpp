// The graph's mouse gestures, its two requests and the view arithmetic
// behind them.
#include <gtest/gtest.h>
#include <QApplication>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <cmath>

#include "graphview.h"
#include "graphwidget.h"

namespace {

int Unit()
{
  return QFontMetrics(QFont()).height();
}

// The data's x runs over 0 ... 4 and y over -1 ... 1; with the fit's
// 1/50 margins a plot 416 pixels across and 208 down maps one unit onto
// exactly 100 pixels on each axis.
class GraphMouse : public ::testing::Test
{
protected:
  void SetUp() override
  {
    const int set = Graph.AddDataSet(Qt::blue, 1);
    for (const TVector2 &point : {TVector2(0.0, 0.0), TVector2(1.0, 1.0), TVector2(2.0, -1.0),
                                  TVector2(3.0, 0.5), TVector2(4.0, 0.0)})
      Graph.AddPoint(set, point);
    Show(416 + 8 * Unit(), 208 + 6 * Unit());
  }

  void Show(int Width, int Height)
  {
    Graph.resize(Width, Height);
    Graph.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Graph));
    Graph.Replot();
    QApplication::processEvents();
  }

  // The graph is a window of its own, so window and widget coordinates
  // agree; the window-level helpers keep track of the buttons held.
  void Press(Qt::MouseButton Button, QPoint Pos)
  {
    QTest::mousePress(Graph.windowHandle(), Button, Qt::NoModifier, Pos);
  }
  void Move(QPoint Pos) { QTest::mouseMove(Graph.windowHandle(), Pos); }
  void Release(Qt::MouseButton Button, QPoint Pos)
  {
    QTest::mouseRelease(Graph.windowHandle(), Button, Qt::NoModifier, Pos);
    QApplication::processEvents();
  }
  void Drag(Qt::MouseButton Button, QPoint From, QPoint To)
  {
    Press(Button, From);
    Move((From + To) / 2);
    Move(To);
    Release(Button, To);
  }

  double XSpan() const
  {
    const QRect &plot = Graph.PlotRect();
    return (plot.right() - plot.left()) / Graph.Mapping().m11;
  }
  double YSpan() const
  {
    const QRect &plot = Graph.PlotRect();
    return (plot.top() - plot.bottom()) / Graph.Mapping().m22;
  }

  TGraphWidget Graph;
};

// The pixels TopLeft and BottomRight of the Fit view now lie on the
// plot's corners.
void ExpectBandFillsPlot(const TGraphWidget &Graph, const TGraphMapping &Fit, QPoint TopLeft,
                         QPoint BottomRight)
{
  const TGraphMapping &zoomed = Graph.Mapping();
  const QRect &plot = Graph.PlotRect();
  EXPECT_NEAR(zoomed.MapX(Fit.UnmapX(TopLeft.x())), plot.left(), 1e-9);
  EXPECT_NEAR(zoomed.MapX(Fit.UnmapX(BottomRight.x())), plot.right(), 1e-9);
  EXPECT_NEAR(zoomed.MapY(Fit.UnmapY(TopLeft.y())), plot.top(), 1e-9);
  EXPECT_NEAR(zoomed.MapY(Fit.UnmapY(BottomRight.y())), plot.bottom(), 1e-9);
}

void ExpectSameMapping(const TGraphMapping &a, const TGraphMapping &b)
{
  EXPECT_DOUBLE_EQ(a.m11, b.m11);
  EXPECT_DOUBLE_EQ(a.m22, b.m22);
  EXPECT_DOUBLE_EQ(a.dx, b.dx);
  EXPECT_DOUBLE_EQ(a.dy, b.dy);
}

}  // namespace

TEST_F(GraphMouse, LeftDragZoomsTheBandOntoThePlotAndReplotFitsAgain)
{
  const QImage fitted = Graph.Pixmap().toImage();
  const TGraphMapping fit = Graph.Mapping();
  const QRect &plot = Graph.PlotRect();
  const QPoint a = plot.topLeft() + QPoint(40, 30);
  const QPoint b = a + QPoint(120, 80);

  // A click without a move leaves the view and the rendering alone.
  Press(Qt::LeftButton, a);
  Release(Qt::LeftButton, a);
  ExpectSameMapping(Graph.Mapping(), fit);
  EXPECT_EQ(Graph.Pixmap().toImage(), fitted);

  Drag(Qt::LeftButton, a, b);
  ExpectBandFillsPlot(Graph, fit, a, b);
  const TGraphMapping zoomed = Graph.Mapping();
  EXPECT_NE(Graph.Pixmap().toImage(), fitted);

  // Replot fits again, pixel for pixel; the band drawn the other way
  // round then gives the same view.
  Graph.Replot();
  EXPECT_EQ(Graph.Pixmap().toImage(), fitted);
  Drag(Qt::LeftButton, b, a);
  ExpectSameMapping(Graph.Mapping(), zoomed);
}

TEST_F(GraphMouse, LeftPressOutsideThePlotAnchorsTheBandAtItsCorner)
{
  const TGraphMapping fit = Graph.Mapping();
  const QRect &plot = Graph.PlotRect();
  const QPoint outside(Unit(), Unit());
  ASSERT_FALSE(plot.contains(outside));
  const QPoint end = plot.center();

  Press(Qt::LeftButton, outside);
  Move(end);
  // While dragging, the outline's right edge lies one pixel outside.
  const QImage shown = Graph.grab().toImage();
  const int middle = (plot.top() + end.y()) / 2;
  EXPECT_EQ(shown.pixel(end.x() + 1, middle), qRgb(0, 0, 0));
  EXPECT_EQ(shown.pixel(end.x() - 3, middle), Graph.Pixmap().toImage().pixel(end.x() - 3, middle));
  Release(Qt::LeftButton, end);
  ExpectBandFillsPlot(Graph, fit, plot.topLeft(), end);
}

TEST_F(GraphMouse, RightDragPansWithThePointerFromInsideOrOutside)
{
  const QRect &plot = Graph.PlotRect();
  for (const QPoint start : {plot.center(), QPoint(Unit(), Unit())}) {
    Graph.Replot();
    const TGraphMapping before = Graph.Mapping();
    Press(Qt::RightButton, start);
    Move(start + QPoint(30, -20));
    Move(start + QPoint(50, -10));
    Release(Qt::RightButton, start + QPoint(50, -10));
    // Same scale, shifted by the pointer's displacement; no zoom-out
    // follows the release.
    const TGraphMapping after = Graph.Mapping();
    EXPECT_NEAR(after.m11, before.m11, 1e-9 * before.m11);
    EXPECT_NEAR(after.m22, before.m22, 1e-9 * -before.m22);
    EXPECT_NEAR(after.dx, before.dx + 50, 1e-6);
    EXPECT_NEAR(after.dy, before.dy - 10, 1e-6);
  }
}

TEST_F(GraphMouse, RightClicksZoomOutByTwoUntilFiftyTimesTheFit)
{
  const double x = XSpan(), y = YSpan();
  const double cx = Graph.Mapping().UnmapX(Graph.PlotRect().center().x());
  Press(Qt::RightButton, Graph.PlotRect().center());
  Release(Qt::RightButton, Graph.PlotRect().center());
  EXPECT_NEAR(XSpan() / x, 2.0, 0.01);
  EXPECT_NEAR(YSpan() / y, 2.0, 0.01);
  EXPECT_NEAR(Graph.Mapping().UnmapX(Graph.PlotRect().center().x()), cx, 0.01 * x);

  for (int i = 0; i < 8; ++i) {
    Press(Qt::RightButton, QPoint(Unit(), Unit()));
    Release(Qt::RightButton, QPoint(Unit(), Unit()));
  }
  EXPECT_NEAR(XSpan(), 50.0 * Graph.FitXSpan(), 1e-9);
  EXPECT_NEAR(YSpan(), 50.0 * Graph.FitYSpan(), 1e-9);

  // The slot posts the same request; two before a paint zoom once.
  Graph.Replot();
  QApplication::processEvents();
  Graph.ZoomOut();
  Graph.ZoomOut();
  QApplication::processEvents();
  EXPECT_NEAR(XSpan() / x, 2.0, 0.01);
}

TEST_F(GraphMouse, ReadoutShowsDataUnderThePointerAndKeepsItOutside)
{
  const TGraphMapping &map = Graph.Mapping();
  const QPoint pointer(static_cast<int>(std::lround(map.MapX(1.5))),
                       static_cast<int>(std::lround(map.MapY(-0.25))));
  ASSERT_NEAR(map.MapX(1.5), pointer.x(), 1e-9);
  ASSERT_NEAR(map.MapY(-0.25), pointer.y(), 1e-9);
  Move(pointer);
  EXPECT_EQ(Graph.CursorText(), "1.50000,   -0.25000");
  Move(QPoint(Unit(), Unit()));
  EXPECT_EQ(Graph.CursorText(), "1.50000,   -0.25000");

  // The text is the only thing painted over the rendering, right-aligned
  // at the plot's right edge, its baseline a text height below the top.
  const QImage shown = Graph.grab().toImage();
  const QImage rendered = Graph.Pixmap().toImage();
  const QFontMetrics metrics(Graph.font());
  const QRect &plot = Graph.PlotRect();
  const QString text = Graph.CursorText();
  const QRect glyphs = metrics.tightBoundingRect(text).translated(
      plot.right() - metrics.boundingRect(QRect(), 0, text).width(),
      plot.top() + metrics.boundingRect(QRect(), 0, text).height());
  QRect changed;
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x)
      if (shown.pixel(x, y) != rendered.pixel(x, y))
        changed |= QRect(x, y, 1, 1);
  EXPECT_LE(std::abs(changed.top() - glyphs.top()), 1) << changed.top() << " " << glyphs.top();
  EXPECT_LE(std::abs(changed.bottom() - glyphs.bottom()), 1);
  EXPECT_LE(std::abs(changed.right() - glyphs.right()), 1);
  EXPECT_LE(std::abs(changed.left() - glyphs.left()), 1);
}

TEST_F(GraphMouse, ScaleToFitRendersInOnePaintAndShowsInTheNext)
{
  const QImage fitted = Graph.Pixmap().toImage();
  Drag(Qt::LeftButton, Graph.PlotRect().center(), Graph.PlotRect().center() + QPoint(50, 40));
  ASSERT_NE(Graph.Pixmap().toImage(), fitted);

  struct TPaints : QObject
  {
    std::vector<QRegion> Regions;
    bool eventFilter(QObject *, QEvent *event) override
    {
      if (event->type() == QEvent::Paint)
        Regions.push_back(static_cast<QPaintEvent *>(event)->region());
      return false;
    }
  } paints;
  Graph.installEventFilter(&paints);
  Graph.ScaleToFit();
  Graph.repaint();
  // That paint renders the fit but draws nothing on the screen, where
  // only the background shows.
  ASSERT_EQ(paints.Regions.size(), 1u);
  EXPECT_EQ(Graph.Pixmap().toImage(), fitted);
  const QImage screen = QGuiApplication::primaryScreen()->grabWindow(Graph.winId()).toImage();
  ASSERT_FALSE(screen.isNull());
  int drawn = 0;
  for (int y = 0; y < screen.height(); ++y)
    for (int x = 0; x < screen.width(); ++x)
      drawn += screen.pixel(x, y) != screen.pixel(0, 0);
  EXPECT_EQ(drawn, 0);
  // It schedules a full repaint, which shows the fit (left of the readout).
  QApplication::processEvents();
  ASSERT_EQ(paints.Regions.size(), 2u);
  EXPECT_EQ(paints.Regions.back().boundingRect(), Graph.rect());
  Graph.removeEventFilter(&paints);
  const QRect left(0, 0, Graph.PlotRect().center().x(), Graph.height());
  EXPECT_EQ(QGuiApplication::primaryScreen()->grabWindow(Graph.winId()).toImage().copy(left),
            fitted.copy(left).convertToFormat(screen.format()));
}

TEST_F(GraphMouse, GesturesOnAPlotWithoutExtentChangeNothing)
{
  Show(6 * Unit(), 5 * Unit());
  ASSERT_LE(Graph.PlotRect().right(), Graph.PlotRect().left());
  const TGraphMapping before = Graph.Mapping();
  const QImage rendered = Graph.Pixmap().toImage();
  const QPoint a(2, 2), b(Graph.width() - 3, Graph.height() - 3);
  Drag(Qt::LeftButton, a, b);
  Drag(Qt::RightButton, b, a);
  Press(Qt::RightButton, a);
  Release(Qt::RightButton, a);
  ExpectSameMapping(Graph.Mapping(), before);
  EXPECT_EQ(Graph.Pixmap().toImage(), rendered);
}

TEST(GraphView, ZoomArithmetic)
{
  const QRect plot(QPoint(100, 50), QPoint(500, 250));
  // 100 pixels per unit, data 0 at pixel column 100 and row 250.
  const TGraphMapping start = TGraphMapping::FromRanges(0.0, 4.0, 0.0, 2.0, plot);

  // A band beyond fifty times the fit is scaled towards data 0: the ends
  // keep their ratio.
  TGraphMapping map = start;
  ASSERT_TRUE(ViewFromRect(map, QRect(QPoint(300, -10000), QPoint(100300, 250)), plot, 10.0, 1.0));
  EXPECT_NEAR(map.UnmapX(plot.left()), 1.0, 1e-9);  // band 2 ... 1002, fit span 10
  EXPECT_NEAR(map.UnmapX(plot.right()), 501.0, 1e-9);
  EXPECT_NEAR(map.UnmapY(plot.top()), 50.0, 1e-9);
  EXPECT_NEAR(map.UnmapY(plot.bottom()), 0.0, 1e-9);

  // A band of no width gets the minimum span about its pixel, even far
  // from 0 where a step of 5e-6 rounds away.
  map = start;
  ASSERT_TRUE(ViewFromRect(map, QRect(QPoint(200, 100), QPoint(200, 100)), plot, 4.0, 2.0));
  EXPECT_NEAR(map.UnmapX(plot.left()), 1.0 - 5e-6, 1e-12);
  EXPECT_NEAR(map.UnmapX(plot.right()), 1.0 + 5e-6, 1e-12);
  EXPECT_NEAR(map.UnmapY(plot.top()) - map.UnmapY(plot.bottom()), 1e-5, 1e-12);
  map = TGraphMapping::FromRanges(1e12, 1e12 + 4.0, 0.0, 2.0, plot);
  ASSERT_TRUE(ViewFromRect(map, QRect(QPoint(200, 100), QPoint(200, 100)), plot, 4.0, 2.0));
  EXPECT_TRUE(std::isfinite(map.m11) && std::isfinite(map.dx) && map.m11 > 0.0);

  // A plot without extent takes no view.
  map = start;
  const QRect flat(QPoint(100, 50), QPoint(100, 250));
  EXPECT_FALSE(ViewFromRect(map, QRect(120, 60, 30, 30), flat, 4.0, 2.0));
  ExpectSameMapping(map, start);

  // Twice the width and height about the centre, in whole pixels; the
  // centre's halving truncates towards zero.
  const struct
  {
    QRect Plot, Zoom;
  } zooms[] = {
      {QRect(QPoint(0, 0), QPoint(9, 9)), QRect(QPoint(-5, -5), QPoint(14, 14))},
      {QRect(QPoint(10, 20), QPoint(20, 25)), QRect(QPoint(5, 17), QPoint(26, 28))},
      {QRect(QPoint(-5, -3), QPoint(4, 6)), QRect(QPoint(-9, -8), QPoint(10, 11))},
  };
  for (const auto &zoom : zooms)
    EXPECT_EQ(ZoomOutRect(zoom.Plot), zoom.Zoom) << zoom.Plot.x() << "," << zoom.Plot.y();
}
