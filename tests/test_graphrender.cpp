// Rendering: the pixels of the cached pixmap and of a caller's painter.
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <cmath>
#include <gtest/gtest.h>

#include "graphfit.h"
#include "test_graphsupport.h"

namespace {

const QRgb White = qRgb(255, 255, 255), Red = qRgb(255, 0, 0), DarkGray = qRgb(128, 128, 128);

// The viewport's scaling blends lines a shade towards white.
bool Near(QRgb Pixel, const QColor &Expected)
{
  return std::abs(qRed(Pixel) - Expected.red()) <= 3 &&
         std::abs(qGreen(Pixel) - Expected.green()) <= 3 &&
         std::abs(qBlue(Pixel) - Expected.blue()) <= 3;
}

// The pixmap column or row a logical one lands on: the viewport squeezes
// Size + 1 logical pixels into Size.
int Dev(double Logical, int Size)
{
  return static_cast<int>(std::floor(static_cast<int>(Logical) * double(Size) / (Size + 1)));
}

QImage Pixels(const TGraphWidget &Graph)
{
  return Graph.Pixmap().toImage().convertToFormat(QImage::Format_RGB32);
}

int Count(const QImage &Image, const QColor &Color, QRect Area = QRect())
{
  Area = Area.isNull() ? Image.rect() : Area;
  int count = 0;
  for (int y = Area.top(); y <= Area.bottom(); ++y)
    for (int x = Area.left(); x <= Area.right(); ++x)
      count += Near(Image.pixel(x, y), Color);
  return count;
}

QRect BoxOf(const QImage &Image, const QColor &Color)
{
  QRect box;
  for (int y = 0; y < Image.height(); ++y)
    for (int x = 0; x < Image.width(); ++x)
      box |= Near(Image.pixel(x, y), Color) ? QRect(x, y, 1, 1) : QRect();
  return box;
}

// Widths of the runs of pure red along a row.
std::vector<int> RedRuns(const QImage &Image, int Row)
{
  std::vector<int> runs;
  bool inside = false;
  for (int x = 0; x < Image.width(); ++x) {
    const bool red = Image.pixel(x, Row) == Red;
    if (red && !inside)
      runs.push_back(0);
    if (red)
      ++runs.back();
    inside = red;
  }
  return runs;
}

void ClearTitles(TGraphWidget &Graph)
{
  Graph.SetTitle("");
  Graph.SetHTitle("");
  Graph.SetVTitle("");
}

// Draws onto a white 400 x 300 image through an unscaled painter, so
// that logical and device pixels coincide.
QImage Device(TGraphWidget &Graph, const QRect &Target = QRect(0, 0, 400, 300),
              bool Border = true, bool Untitled = false)
{
  QImage image(400, 300, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  if (Untitled)
    Graph.RenderToDeviceUntitled(&painter, Target, Border);
  else
    Graph.RenderToDevice(&painter, Target, Border);
  return image;
}

int DeviceUnit()
{
  QImage image(1, 1, QImage::Format_RGB32);
  return QFontMetrics(QPainter(&image).font()).height();
}

// The plot rectangle RenderToDevice lays out on a target at the origin.
QRect DevicePlot(int Width, int Height)
{
  const int u = DeviceUnit();
  return QRect(QPoint(6 * u, 2 * u), QPoint(Width - u, Height - 4 * u));
}

}  // namespace

TEST(GraphRender, PixmapIsOnePixelLargerAndRenderedOnlyOnReplot)
{
  TGraphWidget graph;
  AddSet(graph, Qt::red, 0, {{0.0, 0.0}, {1.0, 1.0}});
  graph.Replot();
  EXPECT_TRUE(graph.Pixmap().isNull());  // never resized
  ResizeGraph(graph, 400, 300);
  ASSERT_EQ(graph.Pixmap().size(), QSize(401, 301));
  EXPECT_EQ(Count(Pixels(graph), Qt::white, QRect(0, 300, 401, 1)), 401);  // beyond the viewport
  graph.ClearDataSets();
  EXPECT_GT(Count(Pixels(graph), Qt::red), 100);
  graph.Replot();
  EXPECT_EQ(Count(Pixels(graph), Qt::red), 0);
}

TEST(GraphRender, BorderPlotFrameAndZeroLines)
{
  TGraphWidget graph;
  ClearTitles(graph);
  ResizeGraph(graph, 400, 300);
  const QImage image = Pixels(graph);
  const QRect plot = graph.PlotRect();
  const int left = Dev(plot.left(), 400), right = Dev(plot.right() + 1, 400);
  const int top = Dev(plot.top(), 300), bottom = Dev(plot.bottom() + 1, 300);
  for (int x : {0, left, right, 399})
    EXPECT_TRUE(Near(image.pixel(x, top + 5), Qt::darkGray)) << x;
  for (int y : {0, top, bottom, 299})
    EXPECT_TRUE(Near(image.pixel(left + 5, y), Qt::darkGray)) << y;
  // No data: both zero lines cross the plot, which is otherwise white.
  const int zeroColumn = Dev(graph.Mapping().dx, 400), zeroRow = Dev(graph.Mapping().dy, 300);
  EXPECT_TRUE(Near(image.pixel(zeroColumn, top + 5), Qt::lightGray));
  EXPECT_TRUE(Near(image.pixel(left + 5, zeroRow), Qt::lightGray));
  const int w = right - left - 1, h = bottom - top - 1;
  EXPECT_EQ(Count(image, Qt::white, QRect(left + 1, top + 1, w, h)), w * h - w - h + 1);

  // x 1 ... 5 keeps x = 0 out of the plot: no vertical zero line there.
  AddSet(graph, Qt::red, 3, {{1.0, -2.0}, {5.0, 2.0}});
  graph.Replot();
  EXPECT_EQ(Count(Pixels(graph), Qt::lightGray, QRect(left + 1, top + 5, right - left - 1, 1)), 0);
  EXPECT_EQ(Count(Pixels(graph), Qt::lightGray,
                  QRect(left + 1, Dev(graph.Mapping().dy, 300), right - left - 1, 1)),
            right - left - 1);
}

TEST(GraphRender, TickMarksOnePerLabelSlot)
{
  TGraphWidget graph;
  ClearTitles(graph);
  ResizeGraph(graph, 400, 300);
  const QRect plot = graph.PlotRect();
  const int vTicks = (plot.bottom() - plot.top() + 1) / graph.TextHeight();
  const int hTicks = (plot.right() - plot.left() + 1) / graph.HLabelSize().width();
  EXPECT_GE(hTicks, 2);
  const QImage image = Pixels(graph);
  EXPECT_EQ(Count(image, Qt::lightGray, QRect(Dev(plot.left() - 3, 400), 0, 1, 301)), vTicks);
  EXPECT_EQ(Count(image, Qt::lightGray, QRect(0, Dev(plot.bottom() + 2, 300), 401, 1)), hTicks);
}

TEST(GraphRender, OnePointDrawsACrossOrABarButNoLine)
{
  for (int style : {0, 1, 2, 3, 4, -1}) {
    TGraphWidget graph;
    AddSet(graph, Qt::red, style, {{3.0, 4.0}});
    const QImage image = Device(graph);
    const QRect box = BoxOf(image, Qt::red);
    if (style == 3) {  // an X of 7 x 7 pixels
      ASSERT_EQ(box.size(), QSize(7, 7));
      EXPECT_EQ(Count(image, Qt::red), 13);
      for (int i = 0; i < 7; ++i)
        EXPECT_TRUE(image.pixel(box.left() + i, box.top() + i) == Red &&
                    image.pixel(box.left() + i, box.bottom() - i) == Red) << i;
    } else {
      EXPECT_EQ(RedRuns(image, 100).size(), style == 2 ? 1u : 0u) << style;
    }
  }
}

TEST(GraphRender, BarsFollowTheIntegerHalfWidth)
{
  // A plot 273 pixels wide holds 10 bars of half-width 273 / 20 - 1 = 12.
  const int width = 272 + 7 * DeviceUnit();
  const QRect plot = DevicePlot(width, 300);
  ASSERT_EQ(plot.width(), 273);
  TGraphWidget graph;
  std::vector<TDataSet> sets(1, TDataSet{{}, Qt::red, 2});
  for (int i = 0; i < 10; ++i)
    sets[0].Points.push_back({double(i), i == 4 ? -1.0 : 1.0});
  AddSet(graph, Qt::red, 2, sets[0].Points);
  const QImage image = Device(graph, QRect(0, 0, width, 300));
  const TGraphMapping map = FitView(sets, {5e-6, false, true, true}, plot).Map;
  const int zero = int(map.dy), high = map.Row(1.0), low = map.Row(-1.0);
  // Nine bars rise above zero, the outer two cut by the plot's edges.
  const std::vector<int> runs = RedRuns(image, (high + zero) / 2);
  ASSERT_EQ(runs.size(), 9u);
  EXPECT_EQ(std::vector<int>(runs.begin() + 1, runs.end() - 1), std::vector<int>(7, 24));
  EXPECT_TRUE(runs.front() < 24 && runs.back() < 24);
  EXPECT_EQ(RedRuns(image, (low + zero) / 2), std::vector<int>{24});
  // A bar reaches from its point's row to the row just above y = 0.
  const int up = map.Column(1.0), down = map.Column(4.0);
  EXPECT_EQ(std::vector<QRgb>({image.pixel(up, high - 1), image.pixel(up, high),
                               image.pixel(up, zero - 1), image.pixel(down, zero - 1),
                               image.pixel(down, low), image.pixel(down, low + 1)}),
            std::vector<QRgb>({White, Red, Red, Red, Red, White}));
}

TEST(GraphRender, LineIsCutAtThePlotEdge)
{
  // Equal aspect rebuilds the x range about the data's x centre, 0: the
  // line from (0, 0.25) to (10, 1) leaves through the plot's right edge
  // and the cross at x = -10 lies wholly outside.
  TGraphWidget graph;
  graph.SetEqualAspect(true);
  AddSet(graph, Qt::red, 1, {{0.0, 0.25}, {10.0, 1.0}});
  AddSet(graph, Qt::blue, 3, {{-10.0, 0.5}});
  const QImage image = Device(graph);
  const QRect plot = DevicePlot(400, 300), box = BoxOf(image, Qt::red);
  EXPECT_EQ(box.right(), plot.right());
  EXPECT_TRUE(plot.contains(box));
  EXPECT_EQ(Count(image, Qt::blue), 0);
}

TEST(GraphRender, NaNInfiniteAndHugeValues)
{
  TMessageTrap trap;
  TGraphWidget clean, dirty;
  AddSet(clean, Qt::red, 1, {{0.0, 0.0}, {1.0, 1.0}, {2.0, 0.5}});
  AddSet(dirty, Qt::red, 1, {{NAN, 0.0}, {0.0, 0.0}, {1.0, 1.0}, {2.0, 0.5}, {INFINITY, 2.0}});
  AddSet(dirty, Qt::blue, 3, {{NAN, NAN}, {-INFINITY, 1.0}});
  AddSet(dirty, Qt::green, 2, {{1.0, INFINITY}});
  ResizeGraph(clean, 400, 300);
  ResizeGraph(dirty, 400, 300);
  EXPECT_EQ(Pixels(dirty), Pixels(clean));

  // A bad point inside a line leaves a gap of two segments.
  TGraphWidget gap;
  AddSet(gap, Qt::red, 1, {{0.0, 0.0}, {1.0, NAN}, {2.0, 1.0}});
  AddSet(gap, Qt::blue, 3, {{0.0, 0.0}, {1.0, NAN}, {2.0, 1.0}});
  EXPECT_EQ(Count(Device(gap), Qt::red), 0);
  EXPECT_EQ(Count(Device(gap), Qt::blue), 26);

  // Huge values: clamped pixels, lines cut on the way, all inside the plot.
  TGraphWidget huge;
  AddSet(huge, Qt::red, 1, {{0.0, 0.0}, {1.0, 1e300}, {2.0, 0.0}, {1e300, -1e300}});
  AddSet(huge, Qt::blue, 2, {{0.5, 1e300}, {1.5, -1e300}});
  AddSet(huge, Qt::green, 3, {{1e300, 0.5}});
  const QImage image = Device(huge);
  EXPECT_GT(Count(image, Qt::red), 20);
  EXPECT_TRUE(DevicePlot(400, 300).contains(BoxOf(image, Qt::red) | BoxOf(image, Qt::blue)));
  EXPECT_TRUE(trap.Quiet()) << trap.Text();
}

// A graph too small for its plot draws frames and titles, but no ticks,
// labels, zero lines or data; its mapping, label formats and sizes stay
// finite and small, and Qt never complains.
TEST(GraphRender, DegenerateSizesDrawNoScaleAndNoData)
{
  TMessageTrap trap;
  const QRegularExpression smallFormat("^% ([1-9]|1[0-9]|20)\\.[0-5]lf$");
  const int u = TGraphWidget().TextHeight();
  for (const QSize &size : {QSize(0, 0), QSize(1, 1), QSize(5, 5), QSize(8 * u, 6 * u),
                            QSize(400, 5), QSize(5, 300)}) {
    SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
    TGraphWidget graph, titled;
    ClearTitles(graph);
    titled.SetEqualAspect(true);
    for (TGraphWidget *g : {&graph, &titled}) {
      AddSet(*g, Qt::red, 1, {{-3.0, 0.0}, {250.0, 1e3}, {NAN, 1.0}});
      AddSet(*g, Qt::blue, 2, {{0.0, -1.0}, {1.0, 1.0}});
      AddSet(*g, Qt::green, 3, {{0.5, 0.5}});
      ResizeGraph(*g, size.width(), size.height());
      const TGraphMapping &map = g->Mapping();
      EXPECT_TRUE(map.m11 > 0.0 && map.m22 < 0.0);
      EXPECT_TRUE(std::isfinite(map.m11 + map.m22 + map.dx + map.dy));
      EXPECT_TRUE(g->FitXSpan() > 0.0 && g->FitYSpan() > 0.0);
      EXPECT_TRUE(smallFormat.match(g->HLabelFormat()).hasMatch()) << g->HLabelFormat().toStdString();
      EXPECT_TRUE(smallFormat.match(g->VLabelFormat()).hasMatch()) << g->VLabelFormat().toStdString();
      EXPECT_TRUE(g->HLabelSize().width() >= 1 && g->VLabelSize().height() >= 1);
    }
    ASSERT_EQ(graph.Pixmap().size(), size + QSize(1, 1));
    const QImage image = Pixels(graph);
    int coloured = 0, dark = 0, light = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QRgb pixel = image.pixel(x, y);
        coloured += qRed(pixel) != qBlue(pixel) || qGreen(pixel) != qBlue(pixel);
        dark += qGray(pixel) < 100;
        light += Near(pixel, Qt::lightGray);
      }
    }
    EXPECT_EQ(coloured, 0) << "no data";
    EXPECT_EQ(dark, 0) << "no labels";
    // Squeezed to half a pixel, the 1 x 1 border is itself light gray.
    EXPECT_EQ(size.width() == 1 ? 0 : light, 0) << "no ticks or zero lines";
    for (bool untitled : {false, true})
      Device(titled, QRect(QPoint(0, 0), size), true, untitled);
    titled.grab();
  }
  // At 8U x 6U the plot is a single logical pixel, still framed.
  TGraphWidget graph;
  ClearTitles(graph);
  ResizeGraph(graph, 8 * u, 6 * u);
  const QRect corner(Dev(7 * u, 8 * u) - 1, Dev(2 * u, 6 * u) - 1, 4, 4);
  EXPECT_GT(Count(Pixels(graph), Qt::darkGray, corner), 0);
  EXPECT_TRUE(trap.Quiet()) << trap.Text();
}

TEST(GraphRender, PaintCopiesThePixmap)
{
  TGraphWidget graph;
  AddSet(graph, Qt::red, 1, {{0.0, 0.0}, {1.0, 1.0}, {2.0, -1.0}});
  ResizeGraph(graph, 320, 240);
  const QImage painted = graph.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(painted, Pixels(graph).copy(0, 0, 320, 240));
}

TEST(GraphRender, DeviceLayoutsBorderAndPlacement)
{
  const int u = DeviceUnit();
  TGraphWidget graph;
  ClearTitles(graph);
  const QImage titled = Device(graph, QRect(0, 0, 400, 300), true);
  for (const QPoint &p : {QPoint(6 * u, 100), QPoint(400 - u + 1, 100), QPoint(200, 2 * u),
                          QPoint(200, 300 - 4 * u + 1), QPoint(0, 100), QPoint(399, 100)})
    EXPECT_EQ(titled.pixel(p), DarkGray) << p.x() << "," << p.y();
  EXPECT_EQ(titled.pixel(6 * u - 1, 100), White);
  const QImage bare = Device(graph, QRect(0, 0, 400, 300), false, true);
  EXPECT_EQ(bare.pixel(0, 100), White);
  for (const QPoint &p : {QPoint(6 + 4 * u, 100), QPoint(200, 6), QPoint(200, 300 - 5 - 2 * u)})
    EXPECT_EQ(bare.pixel(p), DarkGray) << p.x() << "," << p.y();

  // A target away from the origin moves the whole graph with it.
  AddSet(graph, Qt::red, 1, {{0.0, 0.0}, {1.0, 1.0}, {2.0, -1.0}});
  const QImage moved = Device(graph, QRect(40, 30, 300, 200));
  EXPECT_EQ(moved.copy(40, 30, 300, 200), Device(graph, QRect(0, 0, 300, 200)).copy(0, 0, 300, 200));
  EXPECT_EQ(Count(moved, Qt::white, QRect(0, 0, 40, 300)), 40 * 300);
}

TEST(GraphRender, DeviceRenderingRestoresWidgetAndPainter)
{
  TGraphWidget graph;
  AddSet(graph, Qt::red, 1, {{0.0, 0.0}, {1.0, 1.0}});
  ResizeGraph(graph, 400, 300);
  const QRect plot = graph.PlotRect();
  const double m11 = graph.Mapping().m11;
  QImage image(300, 200, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setFont(QFont("Sans", 20));
  const QFont font = painter.font();
  painter.setPen(Qt::blue);
  EXPECT_TRUE(graph.RenderToDeviceUntitled(&painter, QRect(0, 0, 300, 200), false));
  EXPECT_TRUE(graph.RenderToDevice(&painter, QRect(0, 0, 300, 200), true));
  EXPECT_EQ(painter.pen().color(), QColor(Qt::blue));
  EXPECT_EQ(painter.font(), font);
  EXPECT_FALSE(painter.hasClipping());
  EXPECT_EQ(graph.Title() + graph.HTitle() + graph.VTitle(), "Sample GraphH TitleV Title");
  EXPECT_EQ(graph.PlotRect(), plot);
  EXPECT_EQ(graph.Mapping().m11, m11);
  EXPECT_EQ(graph.TextHeight(), QFontMetrics(graph.font()).height());

  // The untitled layout leaves its title strip blank right of the tick
  // labels, whose top one rises to row 0; the titled one fills its own.
  const int u = DeviceUnit(), left = 6 + 4 * u;
  EXPECT_EQ(Count(Device(graph, QRect(0, 0, 400, 300), false, true), Qt::black,
                  QRect(left, 0, 400 - left, 6)), 0);
  EXPECT_GT(Count(Device(graph), Qt::black, QRect(7 * u, 0, 100, 2 * u)), 20);
}

TEST(GraphRenderDeathTest, NullDevice)
{
  TGraphWidget graph;
  // The report names the widget's source file, its line and the expression.
  const std::string report = "core/graphwidget\\.cpp:[0-9]+: .*" + AssertionPattern("Device");
  EXPECT_DEATH(graph.RenderToDevice(nullptr, QRect(0, 0, 9, 9), true), report);
  EXPECT_DEATH(graph.RenderToDeviceUntitled(nullptr, QRect(0, 0, 9, 9), true), report);
}
