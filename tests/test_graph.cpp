// The graph widget: data model, labels, layout, fit and rendered pixels.
#include <gtest/gtest.h>
#include <QApplication>
#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QResizeEvent>
#include <cmath>

#include "graphaxis.h"
#include "graphfit.h"
#include "graphwidget.h"

namespace {

// Hidden widgets only queue resize events; send the one a shown widget gets.
void ResizeGraph(TGraphWidget &Graph, int Width, int Height)
{
  Graph.resize(Width, Height);
  QResizeEvent event(QSize(Width, Height), QSize());
  QApplication::sendEvent(&Graph, &event);
}

void AddSet(TGraphWidget &Graph, const QColor &Color, int Style,
            const std::vector<TVector2> &Points)
{
  const int set = Graph.AddDataSet(Color, Style);
  for (const TVector2 &point : Points)
    Graph.AddPoint(set, point);
}

// The runtime's report of a failed assertion, as an extended regex.
std::string Failed(const std::string &Expression)
{
  std::string pattern = "Assertion `";
  for (char c : Expression) {
    if (std::string("\\.[]()*+?{}|^$").find(c) != std::string::npos)
      pattern += '\\';
    pattern += c;
  }
  return pattern + "' failed";
}

// The text height of the widget and of a painter on an image alike.
int Unit()
{
  return QFontMetrics(QFont()).height();
}

// The viewport's scaling blends lines a shade towards white.
bool Near(QRgb Pixel, const QColor &Color)
{
  return std::abs(qRed(Pixel) - Color.red()) <= 3 && std::abs(qGreen(Pixel) - Color.green()) <= 3 &&
         std::abs(qBlue(Pixel) - Color.blue()) <= 3;
}

// How many pixels of Area are near Color, and the box round them.
struct TFound
{
  int Count = 0;
  QRect Box;
};
TFound Find(const QImage &Image, const QColor &Color, QRect Area = QRect())
{
  TFound found;
  Area = Area.isNull() ? Image.rect() : Area;
  for (int y = Area.top(); y <= Area.bottom(); ++y)
    for (int x = Area.left(); x <= Area.right(); ++x)
      if (Near(Image.pixel(x, y), Color)) {
        ++found.Count;
        found.Box |= QRect(x, y, 1, 1);
      }
  return found;
}

// Draws onto a white image through an unscaled painter, so that logical
// and device pixels coincide.
QImage Device(TGraphWidget &Graph, const QSize &Size = QSize(400, 300), bool Untitled = false)
{
  QImage image(Size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  const auto render =
      Untitled ? &TGraphWidget::RenderToDeviceUntitled : &TGraphWidget::RenderToDevice;
  (Graph.*render)(&painter, QRect(QPoint(0, 0), Size), true);
  return image;
}

}  // namespace

TEST(GraphData, DataSetsPointsAndColors)
{
  TGraphWidget graph;
  EXPECT_EQ(graph.Title() + graph.HTitle() + graph.VTitle(), "Sample GraphH TitleV Title");
  EXPECT_EQ(graph.CursorText(), "0.00000,   0.00000");
  EXPECT_EQ(graph.MinimumYExtent(), 5e-6);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(graph.AddDataSet(Qt::black, i), i);
    graph.AddPoint(i, TVector2(i, 10.0 * i));
  }
  EXPECT_TRUE(graph.DeletePoint(2, 0));  // the emptied set stays
  EXPECT_TRUE(graph.DeleteDataSet(0));   // later sets move down
  ASSERT_EQ(graph.DataSetCount(), 2);
  EXPECT_EQ(graph.Point(0, 0).x, 1.0);
  EXPECT_EQ(graph.PointCount(1), 0);
  for (double bad : {0.0, -1.0, double(NAN)}) {
    graph.SetMinimumYExtent(bad);
    EXPECT_EQ(graph.MinimumYExtent(), 5e-5) << bad;
  }
  // index, r, g, b, known; negative indices count as unknown.
  const int colors[][5] = {{0, 255, 0, 0, 1}, {1, 0, 127, 0, 1},  {3, 255, 127, 0, 1},
                           {6, 128, 0, 0, 1}, {95, 16, 0, 16, 1}, {96, 0, 0, 0, 1},
                           {97, 0, 0, 0, 0},  {-1, 0, 0, 0, 0}};
  for (const auto &row : colors) {
    int r = -7, g = -7, b = -7;
    EXPECT_EQ(TGraphWidget::StandardColor(row[0], &r, &g, &b), row[4] != 0) << row[0];
    EXPECT_EQ(QColor(r, g, b), QColor(row[1], row[2], row[3])) << row[0];
  }
}

TEST(GraphDeathTest, EveryPreconditionNamesItsExpression)
{
  const std::string set = Failed("Set < static_cast<int>(d_DataSets.size())");
  const std::string offset = Failed("Offset < static_cast<int>(d_DataSets[Set].Points.size())");
  TGraphWidget graph;
  AddSet(graph, Qt::black, 0, {{0.0, 0.0}});
  EXPECT_DEATH(graph.PointCount(1), set);
  EXPECT_DEATH(graph.AddPoint(1, TVector2()), set);
  EXPECT_DEATH(graph.SetPoint(1, 0, TVector2()), set);
  EXPECT_DEATH(graph.DeletePoint(1, 0), set);
  EXPECT_DEATH(graph.Point(1, 0), set);
  EXPECT_DEATH(graph.DataSet(1), set);
  EXPECT_DEATH(graph.DeleteDataSet(1), Failed("Offset < static_cast<int>(d_DataSets.size())"));
  EXPECT_DEATH(graph.SetPoint(0, 1, TVector2()), offset);
  EXPECT_DEATH(graph.DeletePoint(0, 1), offset);
  EXPECT_DEATH(graph.Point(0, 1), offset);
  // The report names the widget's source file, its line and the expression.
  const std::string device = "core/graphwidget\\.cpp:[0-9]+: .*" + Failed("Device");
  EXPECT_DEATH(graph.RenderToDevice(nullptr, QRect(0, 0, 9, 9), true), device);
  EXPECT_DEATH(graph.RenderToDeviceUntitled(nullptr, QRect(0, 0, 9, 9), true), device);
}

TEST(GraphAxis, LabelFormatsAndTicks)
{
  // The span counts in powers of e; NaN and infinity stay well defined.
  const struct
  {
    double magnitude, span;
    const char *format;
  } cases[] = {{0.8, 1.6, "% 6.5lf"},     {3.2, 6.4, "% 5.4lf"},
               {12, 24, "% 4.2lf"},       {12, 2, "% 7.5lf"},
               {250, 500, "% 3.0lf"},     {1.0, 1000, "% 6.5lf"},
               {NAN, 3, "% 6.5lf"},       {12, NAN, "% 7.5lf"},
               {12, INFINITY, "% 2.0lf"}, {INFINITY, INFINITY, "% 309.0lf"}};
  for (const auto &c : cases)
    EXPECT_EQ(LabelFormatText(ChooseLabelFormat(c.magnitude, c.span)), c.format) << c.magnitude;
  // Labels follow C printf rules in every locale.
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  const QString label = TickLabel("% 6.5lf", 1234.5);
  QLocale::setDefault(QLocale::system());
  EXPECT_EQ(label, " 1234.50000");

  EXPECT_EQ(TickPositions(0, 273, 60), (std::vector<int>{0, 91, 182, 273}));
  EXPECT_EQ(TickPositions(0, 205, 16),
            (std::vector<int>{0, 18, 37, 55, 74, 93, 111, 130, 149, 167, 186, 205}));
  EXPECT_TRUE(TickPositions(0, 119, 60).empty());  // fewer than two ticks give none
}

TEST(GraphLayout, RectanglesAndFit)
{
  // Data values at the plot's left, right, bottom and top edges.
  const auto expectView = [](const TGraphWidget &g, std::vector<double> edges) {
    const QRect &p = g.PlotRect();
    const double view[] = {g.Mapping().UnmapX(p.left()), g.Mapping().UnmapX(p.right()),
                           g.Mapping().UnmapY(p.bottom()), g.Mapping().UnmapY(p.top())};
    for (int i = 0; i < 4; ++i)
      EXPECT_NEAR(view[i], edges[i], 1e-12) << "edge " << i;
  };
  TGraphWidget graph;
  const int u = QFontMetrics(graph.font()).height();
  ResizeGraph(graph, 400, 300);
  const auto corners = [](int l, int t, int r, int b) { return QRect(QPoint(l, t), QPoint(r, b)); };
  EXPECT_EQ(graph.TitleRect(), corners(7 * u, 0, 400, 2 * u));
  EXPECT_EQ(graph.PlotRect(), corners(7 * u, 2 * u, 400 - u, 300 - 4 * u));
  EXPECT_EQ(graph.VLabelRect(), corners(2 * u, 0, 6 * u, 300 - 2 * u));
  EXPECT_EQ(graph.VTitleRect(), corners(0, 2 * u, 2 * u, 300 - 4 * u));
  EXPECT_EQ(graph.HLabelRect(), corners(6 * u, 300 - 4 * u, 400, 300 - 2 * u));
  EXPECT_EQ(graph.HTitleRect(), corners(7 * u, 300 - 2 * u, 400 - u, 300));
  EXPECT_EQ(graph.FullRect(), corners(0, 0, 400, 300));
  EXPECT_EQ(graph.FitXSpan(), 1e-5);  // exactly the minimum span: not widened
  const double e = 5e-6 + 1e-5 / 50;
  expectView(graph, {-e, e, -e, e});

  AddSet(graph, Qt::black, 0, {{3.0, 4.0}});
  graph.Replot();
  const double sy = 4.0 + 5e-6;
  expectView(graph, {3 - 5e-6 - 2e-7, 3 + 5e-6 + 2e-7, -5e-6 - sy / 50, 4 + sy / 50});

  // Zero stays inside the plot when every y is positive.
  graph.ClearDataSets();
  AddSet(graph, Qt::black, 0, {{0.0, 2.0}, {1.0, 6.0}});
  graph.Replot();
  expectView(graph, {-0.02, 1.02, -5e-6 - (6 + 5e-6) / 50, 6 + (6 + 5e-6) / 50});
  EXPECT_EQ(graph.HLabelFormat() + graph.VLabelFormat(), "% 6.5lf% 5.4lf");

  graph.ClearDataSets();
  graph.SetEqualAspect(true);
  AddSet(graph, Qt::black, 0, {{-0.1, -1.0}, {0.1, 1.0}});
  ResizeGraph(graph, 300 + 8 * u, 200 + 6 * u);  // a 300 x 200 plot
  expectView(graph, {-1.56, 1.56, -1.04, 1.04});

  // Spans beyond double's range, and one that rounding at 1e12 leaves empty.
  for (const TDataSet &set : {TDataSet{{{-1.7e308, -1e308}, {1.7e308, 0.0}}, Qt::black, 0},
                              TDataSet{{{1e12, 1e12}}, Qt::black, 0}}) {
    const TGraphMapping m = FitView({set}, {5e-6, false, true, true}, graph.PlotRect()).Map;
    EXPECT_TRUE(m.m11 > 0.0 && m.m22 < 0.0 && std::isfinite(m.m11 + m.m22 + m.dx + m.dy));
  }
}

TEST(GraphRender, PixmapFrameZeroLinesAndDeviceRestore)
{
  TGraphWidget graph;
  graph.Replot();
  EXPECT_TRUE(graph.Pixmap().isNull());  // never resized: nothing to do
  ResizeGraph(graph, 400, 300);
  ASSERT_EQ(graph.Pixmap().size(), QSize(401, 301));
  QImage image = graph.Pixmap().toImage();
  EXPECT_EQ(Find(image, Qt::white, QRect(0, 300, 401, 1)).Count, 401);  // beyond the viewport
  // The viewport squeezes Size + 1 logical pixels into Size.
  const auto dev = [](double v, int n) { return int(std::floor(int(v) * double(n) / (n + 1))); };
  const QRect plot = graph.PlotRect();
  const int left = dev(plot.left(), 400), right = dev(plot.right() + 1, 400);
  const int top = dev(plot.top(), 300), bottom = dev(plot.bottom() + 1, 300);
  for (int x : {0, left, right, 399})
    EXPECT_TRUE(Near(image.pixel(x, top + 5), Qt::darkGray)) << x;
  for (int y : {0, top, bottom, 299})
    EXPECT_TRUE(Near(image.pixel(left + 5, y), Qt::darkGray)) << y;
  // No data: both zero lines cross the plot.
  EXPECT_TRUE(Near(image.pixel(dev(graph.Mapping().dx, 400), top + 5), Qt::lightGray));
  EXPECT_TRUE(Near(image.pixel(left + 5, dev(graph.Mapping().dy, 300)), Qt::lightGray));

  // Drawing elsewhere leaves the widget's layout, mapping and titles alone.
  const double m11 = graph.Mapping().m11;
  Device(graph, QSize(300, 200), true);
  EXPECT_EQ(graph.Title() + graph.HTitle() + graph.VTitle(), "Sample GraphH TitleV Title");
  EXPECT_TRUE(graph.PlotRect() == plot && graph.Mapping().m11 == m11);

  // x 1 ... 5 keeps x = 0 out of the plot: no vertical zero line.
  AddSet(graph, Qt::red, 1, {{1.0, -2.0}, {5.0, 2.0}});
  graph.Replot();
  image = graph.Pixmap().toImage();
  EXPECT_EQ(Find(image, Qt::lightGray, QRect(0, top + 5, 400, 1)).Count, 0);
  EXPECT_GT(Find(image, Qt::red).Count, 100);
}

TEST(GraphRender, CrossesBarsAndLines)
{
  for (int style : {1, 3}) {  // one point: a 7 x 7 cross, but no line
    TGraphWidget graph;
    AddSet(graph, Qt::red, style, {{3.0, 4.0}});
    const TFound found = Find(Device(graph), Qt::red);
    EXPECT_EQ(found.Box.size(), style == 3 ? QSize(7, 7) : QSize(0, 0));
    EXPECT_EQ(found.Count, style == 3 ? 13 : 0);
  }

  // Three bars on a plot 282 pixels wide: half-width 282 / 6 - 1 = 46.
  TGraphWidget bars;
  AddSet(bars, Qt::red, 2, {{0.0, 1.0}, {1.0, 2.0}, {2.0, 1.0}});
  const QImage image = Device(bars, QSize(281 + 7 * Unit(), 300));
  const int top = Find(image, Qt::red).Box.top();  // only the middle bar reaches it
  EXPECT_EQ(Find(image, Qt::red, QRect(0, top, image.width(), 1)).Count, 92);

  // Equal aspect centres x on the data, 0: the line from (0, 0.25) to
  // (10, 1) leaves through the plot's right edge.
  TGraphWidget line;
  line.SetEqualAspect(true);
  AddSet(line, Qt::red, 1, {{0.0, 0.25}, {10.0, 1.0}});
  AddSet(line, Qt::blue, 3, {{-1e10, 0.5}, {1e10, 0.5}});  // columns beyond int range
  const QImage drawn = Device(line);
  EXPECT_EQ(Find(drawn, Qt::blue).Count, 0);
  EXPECT_EQ(Find(drawn, Qt::red).Box.right(), 400 - Unit());  // the device plot's right edge
}

TEST(GraphRender, NonFiniteHugeAndDegenerate)
{
  static std::string messages;  // whatever Qt prints until the end of the test
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &text) {
    messages += text.toStdString() + "\n";
  });
  TGraphWidget clean, dirty, gap, huge;
  AddSet(clean, Qt::red, 1, {{0.0, 0.0}, {1.0, 1.0}, {2.0, 0.5}});
  AddSet(dirty, Qt::red, 1, {{NAN, 0.0}, {0.0, 0.0}, {1.0, 1.0}, {2.0, 0.5}, {INFINITY, 2.0}});
  AddSet(dirty, Qt::blue, 3, {{NAN, NAN}, {-INFINITY, 1.0}});
  AddSet(dirty, Qt::green, 2, {{1.0, INFINITY}});
  ResizeGraph(clean, 400, 300);
  ResizeGraph(dirty, 400, 300);
  EXPECT_EQ(dirty.Pixmap().toImage(), clean.Pixmap().toImage());
  // A bad point inside a line leaves a gap of both its segments.
  AddSet(gap, Qt::red, 1, {{0.0, 0.0}, {1.0, NAN}, {2.0, 1.0}});
  EXPECT_EQ(Find(Device(gap), Qt::red).Count, 0);

  AddSet(huge, Qt::red, 1, {{0.0, 0.0}, {1.0, 1e300}, {2.0, 0.0}, {1e300, -1e300}});
  AddSet(huge, Qt::blue, 2, {{0.5, 1e300}, {1.5, -1e300}});
  AddSet(huge, Qt::green, 3, {{1e300, 0.5}});
  ResizeGraph(huge, 400, 300);
  const QImage image = Device(huge);
  const QRect plot(QPoint(6 * Unit(), 2 * Unit()), QPoint(400 - Unit(), 300 - 4 * Unit()));
  EXPECT_GT(Find(image, Qt::red).Count, 20);
  EXPECT_TRUE(plot.contains(Find(image, Qt::red).Box | Find(image, Qt::blue).Box));

  // Too small for a plot: frames and titles, but no scale and no data.
  for (const QSize &size : {QSize(0, 0), QSize(1, 1), QSize(5, 5), QSize(8 * Unit(), 6 * Unit()),
                            QSize(400, 5), QSize(5, 300)}) {
    SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
    TGraphWidget graph;
    graph.SetEqualAspect(size.width() != size.height());
    AddSet(graph, Qt::red, 1, {{-3.0, 0.0}, {250.0, 1e3}, {NAN, 1.0}});
    AddSet(graph, Qt::blue, 2, {{0.0, -1.0}, {1.0, 1.0}});
    AddSet(graph, Qt::green, 3, {{0.5, 0.5}});
    Device(graph, size);
    Device(graph, size, true);
    ResizeGraph(graph, size.width(), size.height());
    graph.grab();
    graph.SetTitle("");  // titles are black, like tick labels
    graph.SetHTitle("");
    graph.SetVTitle("");
    graph.Replot();
    ASSERT_EQ(graph.Pixmap().size(), size + QSize(1, 1));
    const QImage pixels = graph.Pixmap().toImage();
    for (QColor ink : {Qt::red, Qt::blue, Qt::green, Qt::black})  // data and labels
      EXPECT_EQ(Find(pixels, ink).Count, 0) << ink.name().toStdString();
    // Squeezed to half a pixel, the 1 x 1 border is itself light gray.
    EXPECT_EQ(size.width() == 1 ? 0 : Find(pixels, Qt::lightGray).Count, 0) << "ticks";
  }
  qInstallMessageHandler(nullptr);
  EXPECT_EQ(messages, "");
}

// A zoomed view puts ordinary points far beyond int pixels: cutting must
// keep a segment's direction, not clamp each end on its own.
TEST(GraphMapping, ClipSegmentKeepsDirection)
{
  const TGraphMapping map = TGraphMapping::FromRanges(0, 1, 0, 1, QRect(0, 0, 101, 101));
  double x0 = 0.5, y0 = 0.5, x1 = 1e300, y1 = 0.5e300;
  ASSERT_TRUE(map.ClipSegment(x0, y0, x1, y1));
  EXPECT_EQ(x0, 0.5);
  EXPECT_EQ(y0, 0.5);
  EXPECT_LE(map.MapX(x1), TGraphMapping::PixelLimit);
  EXPECT_GE(map.MapY(y1), -TGraphMapping::PixelLimit);
  EXPECT_NEAR((y1 - y0) / (x1 - x0), 0.5, 1e-9);
  double a = 1e200, b = 1e200, c = 2e200, d = -1e200;  // wholly outside
  EXPECT_FALSE(map.ClipSegment(a, b, c, d));
}
