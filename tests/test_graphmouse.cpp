// The graph's mouse gestures and its two requests, on a shown widget.
#include <gtest/gtest.h>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include "testhelpers.h"

namespace {

// With text 15 pixels high a 536 x 298 widget has the plot (105, 30) -
// (521, 238). The data's x runs over 0 ... 4 and y over -1 ... 1; with
// the fit's 1/50 margins, x -0.08 ... 4.08 and y -1.04 ... 1.04, one unit
// is 100 pixels on each axis, x = 0 lies at column 113 and y = 0 at row 134.
class GraphMouse : public TTextHeight15Test
{
protected:
  void SetUp() override
  {
    TTextHeight15Test::SetUp();
    AddSet(Graph, Qt::blue, 1, {{0.0, 0.0}, {1.0, 1.0}, {2.0, -1.0}, {3.0, 0.5}, {4.0, 0.0}});
    Graph.resize(536, 298);
    Graph.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Graph));
  }
  // The graph is a window of its own, so window and widget coordinates
  // agree; the window-level helpers keep track of the buttons held.
  QWindow *Window() { return Graph.windowHandle(); }
  void Press(Qt::MouseButton Button, QPoint At) { QTest::mousePress(Window(), Button, {}, At); }
  void Move(QPoint At) { QTest::mouseMove(Window(), At); }
  void Release(Qt::MouseButton Button, QPoint At)
  {
    QTest::mouseRelease(Window(), Button, {}, At);
    QApplication::processEvents();  // paints, carrying out a posted request
  }
  void Click(Qt::MouseButton Button, QPoint At) { Press(Button, At), Release(Button, At); }
  void Drag(Qt::MouseButton Button, QPoint From, QPoint To)
  {
    Press(Button, From);
    Move((From + To) / 2);
    Move(To);
    Release(Button, To);
  }
  void ExpectView(const std::vector<double> &Edges) { ::ExpectView(Graph.Mapping(), Plot, Edges); }
  QImage Shown() { return Graph.grab().toImage(); }

  TGraphWidget Graph;
  const QRect Plot{QPoint(105, 30), QPoint(521, 238)};
  const QPoint Outside{15, 15}, Centre{313, 134};
};

}  // namespace

// The band (145, 60) - (265, 140) shows x 0.32 ... 1.52, y -0.06 ... 0.74.
TEST_F(GraphMouse, LeftDragZoomsTheBandOntoThePlotAndReplotFitsAgain)
{
  const QImage fitted = Graph.Pixmap().toImage();
  Click(Qt::LeftButton, QPoint(145, 60));  // no move: no zoom
  EXPECT_EQ(Graph.Pixmap().toImage(), fitted);
  Drag(Qt::LeftButton, QPoint(145, 60), QPoint(265, 140));
  ExpectView({0.32, 1.52, -0.06, 0.74});
  EXPECT_NE(Graph.Pixmap().toImage(), fitted);
  Graph.Replot();  // fits again, pixel for pixel
  EXPECT_EQ(Graph.Pixmap().toImage(), fitted);
  Drag(Qt::LeftButton, QPoint(265, 140), QPoint(145, 60));  // the other way round
  ExpectView({0.32, 1.52, -0.06, 0.74});
}

// Anchored at the plot's top-left corner, the band reaches the centre;
// while dragging, its outline's right edge lies one pixel outside.
TEST_F(GraphMouse, ABandStartedOutsideThePlotIsAnchoredAtItsCorner)
{
  Press(Qt::LeftButton, Outside);
  Move(Centre);
  EXPECT_EQ(Shown().pixel(314, 80), qRgb(0, 0, 0));
  EXPECT_EQ(Shown().pixel(310, 80), Graph.Pixmap().toImage().pixel(310, 80));
  Release(Qt::LeftButton, Centre);
  ExpectView({-0.08, 2.0, 0.0, 1.04});
}

TEST_F(GraphMouse, RightDragPansWithThePointerFromInsideOrOutside)
{
  for (const QPoint start : {Centre, Outside}) {
    Graph.Replot();
    Press(Qt::RightButton, start);
    Move(start + QPoint(30, -20));
    Move(start + QPoint(50, -10));
    Release(Qt::RightButton, start + QPoint(50, -10));
    ExpectView({-0.58, 3.58, -1.14, 0.94});  // 50 pixels right, 10 up; no zoom-out
  }
}

// 834 x 418 pixels about the plot's centre, (-103, -74) - (730, 343),
// show x -2.16 ... 6.17 and y -2.09 ... 2.08; at most 50 times the fit's
// spans 4 and 2.
TEST_F(GraphMouse, RightClicksZoomOutByTwoUntilFiftyTimesTheFit)
{
  Click(Qt::RightButton, Centre);
  ExpectView({-2.16, 6.17, -2.09, 2.08});
  for (int i = 0; i < 8; ++i)
    Click(Qt::RightButton, Outside);
  const TGraphMapping &map = Graph.Mapping();
  EXPECT_NEAR(map.UnmapX(521) - map.UnmapX(105), 200.0, 1e-9);
  EXPECT_NEAR(map.UnmapY(30) - map.UnmapY(238), 100.0, 1e-9);
  // The slot posts the same request; two before a paint zoom once.
  Graph.Replot();
  QApplication::processEvents();
  Graph.ZoomOut();
  Graph.ZoomOut();
  QApplication::processEvents();
  ExpectView({-2.16, 6.17, -2.09, 2.08});
}

// Data (1.5, -0.25) lie at column 263, row 159. The readout is the only
// thing painted over the rendering: light gray, right-aligned at the
// plot's right edge, its baseline a text height below the plot's top.
TEST_F(GraphMouse, ReadoutShowsTheDataUnderThePointerAndKeepsItOutside)
{
  Move(QPoint(263, 159));
  Move(Outside);
  EXPECT_EQ(Graph.CursorText(), "1.50000,   -0.25000");
  QImage expected = Graph.Pixmap().toImage().copy(Graph.rect());
  QPainter painter(&expected);
  painter.setPen(Qt::lightGray);
  const QRect box = painter.boundingRect(QRect(), 0, Graph.CursorText());
  painter.drawText(521 - box.width(), 30 + box.height(), Graph.CursorText());
  painter.end();
  EXPECT_EQ(Shown(), expected.convertToFormat(Shown().format()));
}

// The paint that carries out the request draws nothing on the screen; the
// full repaint it schedules shows the fit.
TEST_F(GraphMouse, ScaleToFitRendersInOnePaintAndShowsInTheNext)
{
  const QImage fitted = Graph.Pixmap().toImage();
  Drag(Qt::LeftButton, Centre, Centre + QPoint(50, 40));
  const auto screen = [this] {
    return QGuiApplication::primaryScreen()->grabWindow(Graph.winId()).toImage();
  };
  Graph.ScaleToFit();
  Graph.repaint();
  EXPECT_EQ(Graph.Pixmap().toImage(), fitted);
  const QImage blank = screen();
  EXPECT_EQ(Find(blank, blank.pixelColor(0, 0)).Count, blank.width() * blank.height());
  QApplication::processEvents();
  const QRect left(0, 0, 313, Graph.height());  // left of the readout
  EXPECT_EQ(screen().copy(left), fitted.copy(left).convertToFormat(blank.format()));
}

TEST_F(GraphMouse, GesturesOnAPlotWithoutExtentChangeNothing)
{
  ResizeAndSend(Graph, 90, 75);  // 6 x 5 text heights
  const double m11 = Graph.Mapping().m11, dy = Graph.Mapping().dy;
  const QImage rendered = Graph.Pixmap().toImage();
  Drag(Qt::LeftButton, QPoint(2, 2), QPoint(87, 72));
  Drag(Qt::RightButton, QPoint(87, 72), QPoint(2, 2));
  Click(Qt::RightButton, QPoint(2, 2));
  EXPECT_TRUE(Graph.Mapping().m11 == m11 && Graph.Mapping().dy == dy);
  EXPECT_EQ(Graph.Pixmap().toImage(), rendered);
}
