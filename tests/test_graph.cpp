// The graph widget: data model, layout and rendered pixels. With text 15
// pixels high the plot of a 400 x 300 widget lies at 7U = 105 ... W - U =
// 385 and 2U = 30 ... H - 4U = 240; drawn on a device it starts at 6U = 90.
#include <gtest/gtest.h>
#include <cmath>

#include "testhelpers.h"

using GraphRender = TTextHeight15Test;

TEST(GraphData, SetsAndPointsKeepTheirOrderAndANonPositiveMinimumExtentStores5e5)
{
  TGraphWidget graph;
  EXPECT_EQ(graph.Title() + graph.HTitle() + graph.VTitle(), "Sample GraphH TitleV Title");
  EXPECT_EQ(graph.CursorText(), "0.00000,   0.00000");
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(AddSet(graph, Qt::black, i, {{double(i), 10.0 * i}}), i);
  EXPECT_TRUE(graph.DeletePoint(2, 0) && graph.DeleteDataSet(0));  // later sets move down
  EXPECT_TRUE(graph.SetPoint(0, 0, TVector2(7.0, 8.0)));
  EXPECT_EQ(graph.Point(0, 0).x + graph.DataSet(0).Points[0].y, 15.0);
  EXPECT_EQ(graph.DataSetCount() + graph.PointCount(1), 2);  // an emptied set stays

  EXPECT_EQ(graph.MinimumYExtent(), 5e-6);
  for (double bad : {0.0, -1.0, double(NAN)}) {
    graph.SetMinimumYExtent(bad);
    EXPECT_EQ(graph.MinimumYExtent(), 5e-5) << bad;
  }
}

TEST(GraphData, StandardColorsAreSixHuesInSixteenLevelsThenBlack)
{
  // index, r, g, b, known: green is halved; negative indices are unknown.
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
  const std::string set = AssertionReport("Set < static_cast<int>(d_DataSets.size())");
  const std::string offset =
      AssertionReport("Offset < static_cast<int>(d_DataSets[Set].Points.size())");
  TGraphWidget graph;
  AddSet(graph, Qt::black, 0, {{0.0, 0.0}});
  EXPECT_DEATH(graph.PointCount(1), set);
  EXPECT_DEATH(graph.AddPoint(1, TVector2()), set);
  EXPECT_DEATH(graph.SetPoint(1, 0, TVector2()), set);
  EXPECT_DEATH(graph.DeletePoint(1, 0), set);
  EXPECT_DEATH(graph.Point(1, 0), set);
  EXPECT_DEATH(graph.DataSet(1), set);
  EXPECT_DEATH(graph.DeleteDataSet(1),
               AssertionReport("Offset < static_cast<int>(d_DataSets.size())"));
  EXPECT_DEATH(graph.SetPoint(0, 1, TVector2()), offset);
  EXPECT_DEATH(graph.DeletePoint(0, 1), offset);
  EXPECT_DEATH(graph.Point(0, 1), offset);
  // The report names the widget's source file, its line and the expression.
  const std::string device = "core/graphwidget\\.cpp:[0-9]+: .*" + AssertionReport("Device");
  EXPECT_DEATH(graph.RenderToDevice(nullptr, QRect(0, 0, 9, 9), true), device);
  EXPECT_DEATH(graph.RenderToDeviceUntitled(nullptr, QRect(0, 0, 9, 9), true), device);
}

// Drawing onto a device lays the graph out for the target, then gives the
// widget back its own layout, mapping and titles.
TEST_F(GraphRender, LaysOutA400By300WidgetInTextHeightsAndKeepsItWhileDrawingElsewhere)
{
  TGraphWidget graph;
  ResizeAndSend(graph, 400, 300);
  const double m11 = graph.Mapping().m11;
  RenderedImage(graph, QSize(300, 200), true);
  EXPECT_EQ(graph.Title() + graph.HTitle() + graph.VTitle(), "Sample GraphH TitleV Title");
  EXPECT_EQ(graph.Mapping().m11, m11);
  EXPECT_EQ(graph.TitleRect(), Corners(105, 0, 400, 30));
  EXPECT_EQ(graph.PlotRect(), Corners(105, 30, 385, 240));
  EXPECT_EQ(graph.VLabelRect(), Corners(30, 0, 90, 270));
  EXPECT_EQ(graph.VTitleRect(), Corners(0, 30, 30, 240));
  EXPECT_EQ(graph.HLabelRect(), Corners(90, 240, 400, 270));
  EXPECT_EQ(graph.HTitleRect(), Corners(105, 270, 385, 300));
  EXPECT_EQ(graph.FullRect(), Corners(0, 0, 400, 300));
}

// The pixmap is one pixel larger each way than the widget: the viewport
// squeezes its column 400 and row 300 onto the last visible ones, the
// plot's column 105 onto 104 and row 30 onto 29.
TEST_F(GraphRender, PixmapFramesTheWidgetOnItsLastVisibleColumnAndRow)
{
  TGraphWidget graph;
  graph.Replot();
  EXPECT_TRUE(graph.Pixmap().isNull());  // never resized: nothing to do
  ResizeAndSend(graph, 400, 300);
  ASSERT_EQ(graph.Pixmap().size(), QSize(401, 301));
  const QImage image = graph.Pixmap().toImage();
  EXPECT_EQ(Find(image, Qt::white, Corners(0, 300, 400, 300)).Count, 401);
  EXPECT_EQ(Find(image, Qt::darkGray, Corners(0, 100, 400, 100)).Columns,
            (std::vector<int>{0, 104, 385, 399}));
  for (int row : {0, 29, 240, 299})  // tick labels lie between the last two
    EXPECT_EQ(Find(image, Qt::darkGray, Corners(200, row, 200, row)).Count, 1) << row;
}

// On a device, x -0.2 ... 10.2 over columns 90 ... 385 puts x = 0 at
// 90 + 295 * 0.2 / 10.4 = 95.67; y -1.04 ... 1.04 over rows 240 ... 30
// puts y = 0.5 at 240 - 210 * 1.54 / 2.08 = 84.52. A cross is 7 x 7.
TEST_F(GraphRender, DataPixelsTruncateTowardZero)
{
  TGraphWidget graph;
  AddSet(graph, Qt::red, 3, {{0.0, -1.0}, {10.0, 1.0}, {0.0, 0.5}});
  const TFound cross = Find(RenderedImage(graph), Qt::red, Corners(85, 74, 105, 94));
  EXPECT_EQ(cross.Box, QRect(95 - 3, 84 - 3, 7, 7));
  EXPECT_EQ(cross.Count, 13);
}

// Ticks run from the plot's first pixel over its whole extent to one past
// its last, at most one per label width (columns) or text height (rows).
TEST_F(GraphRender, TicksSpanTheWholePlotFromItsFirstPixel)
{
  TGraphWidget graph;
  const QImage image = RenderedImage(graph);
  // Labels of x within +-1 are measured as "0.00000" and two blanks.
  const int label = QFontMetrics(QFont()).boundingRect(QRect(), 0, "0.00000  ").width();
  const int width = 385 - 90 + 1, count = width / label;
  ASSERT_GE(count, 2);
  std::vector<int> columns;
  columns.reserve(count);
  for (int i = 0; i < count; ++i)
    columns.push_back(90 + static_cast<int>(i * double(width) / (count - 1)));
  EXPECT_EQ(Find(image, Qt::lightGray, Corners(0, 243, 399, 243)).Columns, columns);
  // 211 rows by 15: Python, [30 + int(i * 211 / 13) for i in range(14)].
  EXPECT_EQ(Find(image, Qt::lightGray, Corners(87, 0, 87, 299)).Rows,
            (std::vector<int>{30, 46, 62, 78, 94, 111, 127, 143, 159, 176, 192, 208, 224, 241}));
}

TEST_F(GraphRender, ZeroLinesShowOnlyWhereZeroLiesInsideThePlot)
{
  TGraphWidget graph;
  const QRect row = Corners(91, 100, 384, 100), column = Corners(100, 31, 100, 239);
  QImage image = RenderedImage(graph);
  EXPECT_EQ(Find(image, Qt::lightGray, row).Count + Find(image, Qt::lightGray, column).Count, 2);
  AddSet(graph, Qt::red, 1, {{1.0, -2.0}, {5.0, 2.0}});  // x = 0 lies left of the plot
  image = RenderedImage(graph);
  EXPECT_EQ(Find(image, Qt::lightGray, row).Count, 0);
  EXPECT_EQ(Find(image, Qt::lightGray, column).Count, 1);
}

// One point: a 7 x 7 cross, but no line. Three bars on a plot 282 pixels
// wide (a 386-pixel device) are 2 * (282 / 6 - 1) = 92 pixels each. With
// equal aspect x is centred on the data's centre 5, so the line from
// (0, 0.25) to (10, 1) is cut at the plot's right edge.
TEST_F(GraphRender, StylesDrawCrossesBarsAndLinesCutAtThePlot)
{
  for (int style : {1, 3}) {
    TGraphWidget graph;
    AddSet(graph, Qt::red, style, {{3.0, 4.0}});
    EXPECT_EQ(Find(RenderedImage(graph), Qt::red).Count, style == 3 ? 13 : 0);
  }
  TGraphWidget bars, line;
  AddSet(bars, Qt::red, 2, {{0.0, 1.0}, {1.0, 2.0}, {2.0, 1.0}});
  const QImage image = RenderedImage(bars, QSize(386, 300));
  const int top = Find(image, Qt::red).Box.top();  // only the middle bar reaches it
  EXPECT_EQ(Find(image, Qt::red, Corners(0, top, 385, top)).Count, 92);
  line.SetEqualAspect(true);
  AddSet(line, Qt::red, 1, {{0.0, 0.25}, {10.0, 1.0}});
  AddSet(line, Qt::blue, 3, {{-1e10, 0.5}, {1e10, 0.5}});  // beyond int columns: not drawn
  EXPECT_EQ(Find(RenderedImage(line), Qt::red).Box.right(), 385);
  EXPECT_EQ(Find(RenderedImage(line), Qt::blue).Count, 0);
}

// A legend line names a pair of curves: a stroke half in each colour, or a
// cross of each. With text 15 high the plot spans (90, 30)-(385, 240); the
// box starts half a text height in, its first row's middle at 37 + 7 + 7,
// the next 15 below, the stroke 30 wide after 7 more. A plot the legend
// would mostly cover goes without.
TEST_F(GraphRender, LegendDrawsPairsInItsCornerOnlyWhereItFits)
{
  for (Qt::Corner corner : {Qt::TopLeftCorner, Qt::TopRightCorner}) {
    TGraphWidget graph;
    graph.SetLegend({{"Simulation", Qt::red, TGraphStyle::Lines, Qt::blue},
                     {"Measured", Qt::darkGreen, TGraphStyle::Crosses, Qt::magenta}},
                    corner);
    const QImage image = RenderedImage(graph);
    const TFound red = Find(image, Qt::red), blue = Find(image, Qt::blue);
    const TFound green = Find(image, Qt::darkGreen), magenta = Find(image, Qt::magenta);
    // On the right the box ends 7 inside the plot, after the text.
    const int dx = corner == Qt::TopLeftCorner ? 0 : red.Box.left() - 103;
    if (corner == Qt::TopRightCorner) {
      EXPECT_GT(dx, 100);
      EXPECT_LT(blue.Box.right(), 385 - 7 - 7);
    }
    // Pens 2 wide with square caps: a pixel beyond each end, rows 50 and 51.
    EXPECT_EQ(red.Box, Corners(103 + dx, 50, 117 + dx, 51));
    EXPECT_EQ(blue.Box, Corners(118 + dx, 50, 134 + dx, 51));
    EXPECT_EQ(green.Count, 13);
    EXPECT_EQ(magenta.Count, 13);
    EXPECT_EQ(green.Box.center(), QPoint(104 + 7 + dx, 66));
    EXPECT_EQ(magenta.Box.center(), QPoint(119 + 7 + dx, 66));
  }
  TGraphWidget small;
  small.SetLegend({{"Simulation", Qt::red}});
  EXPECT_EQ(Find(RenderedImage(small, QSize(400, 100)), Qt::red).Count, 0);

  // On the widget's own pixmap, whose viewport squeezes 401 columns into
  // 400, the box drawn once lands unscaled where the squeeze puts its
  // corner: the widget's plot starts at (105, 30), the box at (112, 37),
  // the first cross 11 further each way. A new legend is drawn anew.
  TGraphWidget widget;
  ResizeAndSend(widget, 400, 300);
  for (const QColor &color : {QColor(Qt::darkGreen), QColor(Qt::darkCyan)}) {
    widget.SetLegend({{"Measured", color, TGraphStyle::Crosses}}, Qt::TopLeftCorner);
    widget.Replot();
    const QImage image = widget.Pixmap().toImage();
    const TFound cross = Find(image, color);
    EXPECT_EQ(cross.Count, 26);  // two crosses of 13
    EXPECT_EQ(cross.Box.topLeft(),
              QPoint(std::lround(112 * 400.0 / 401) + 11, std::lround(37 * 300.0 / 301) + 11));
    if (color == Qt::darkCyan) {
      EXPECT_EQ(Find(image, Qt::darkGreen).Count, 0);
    }
  }
}

TEST_F(GraphRender, NonFinitePointsAreSkippedAndBreakTheirLine)
{
  TGraphWidget clean, dirty, gap;
  AddSet(clean, Qt::red, 1, {{0.0, 0.0}, {1.0, 1.0}, {2.0, 0.5}});
  AddSet(dirty, Qt::red, 1, {{NAN, 0.0}, {0.0, 0.0}, {1.0, 1.0}, {2.0, 0.5}, {INFINITY, 2.0}});
  AddSet(dirty, Qt::blue, 3, {{NAN, NAN}, {-INFINITY, 1.0}});
  AddSet(dirty, Qt::green, 2, {{1.0, INFINITY}});
  EXPECT_EQ(RenderedImage(dirty), RenderedImage(clean));
  AddSet(gap, Qt::red, 1, {{0.0, 0.0}, {1.0, NAN}, {2.0, 1.0}});  // both segments left out
  EXPECT_EQ(Find(RenderedImage(gap), Qt::red).Count, 0);
}

TEST_F(GraphRender, HugeCoordinatesAreDrawnInsideThePlot)
{
  TGraphWidget huge;
  AddSet(huge, Qt::red, 1, {{0.0, 0.0}, {1.0, 1e300}, {2.0, 0.0}, {1e300, -1e300}});
  AddSet(huge, Qt::blue, 2, {{0.5, 1e300}, {1.5, -1e300}});
  AddSet(huge, Qt::green, 3, {{1e300, 0.5}});
  const QImage image = RenderedImage(huge);
  const QRect drawn = Find(image, Qt::red).Box | Find(image, Qt::blue).Box;
  EXPECT_GT(Find(image, Qt::red).Count, 20);
  EXPECT_TRUE(Corners(90, 30, 385, 240).contains(drawn));
}

// 120 x 90 is 8 x 6 text heights: a plot of one pixel.
TEST_F(GraphRender, APlotWithoutExtentShowsNoScaleNoDataAndNoWarning)
{
  static std::string messages;  // whatever Qt prints until the end of the test
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &text) {
    messages += text.toStdString() + "\n";
  });
  const QColor inks[] = {Qt::black, Qt::red, Qt::blue, Qt::green};
  for (const QSize size :
       {QSize(0, 0), QSize(1, 1), QSize(5, 5), QSize(120, 90), QSize(400, 5), QSize(5, 300)}) {
    SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
    TGraphWidget graph;
    graph.SetEqualAspect(size.width() != size.height());
    for (int style : {1, 2, 3})
      AddSet(graph, inks[style], style, {{-3.0, 0.0}, {250.0, 1e3}, {NAN, 1.0}, {0.5, 0.5}});
    RenderedImage(graph, size);
    RenderedImage(graph, size, true);
    ResizeAndSend(graph, size.width(), size.height());
    graph.grab();
    for (auto title : {&TGraphWidget::SetTitle, &TGraphWidget::SetHTitle, &TGraphWidget::SetVTitle})
      (graph.*title)("");
    graph.Replot();
    ASSERT_EQ(graph.Pixmap().size(), size + QSize(1, 1));
    const QImage pixels = graph.Pixmap().toImage();
    for (const QColor &ink : inks)  // labels and titles in black, and data
      EXPECT_EQ(Find(pixels, ink).Count, 0) << ink.name().toStdString();
    // Squeezed to half a pixel, the 1 x 1 border is itself light gray.
    EXPECT_EQ(size.width() == 1 ? 0 : Find(pixels, Qt::lightGray).Count, 0) << "ticks";
  }
  qInstallMessageHandler(nullptr);
  EXPECT_EQ(messages, "");
}
