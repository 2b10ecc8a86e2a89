// The graph's data model: defaults, data-set operations, the colour
// table, the two slots and every precondition.
#include <QFontMetrics>
#include <cmath>
#include <gtest/gtest.h>

#include "test_graphsupport.h"

TEST(GraphData, NewWidgetDefaults)
{
  TGraphWidget graph;
  EXPECT_EQ(graph.DataSetCount(), 0);
  EXPECT_EQ(graph.Title(), "Sample Graph");
  EXPECT_EQ(graph.HTitle(), "H Title");
  EXPECT_EQ(graph.VTitle(), "V Title");
  EXPECT_EQ(graph.CursorText(), "0.00000,   0.00000");
  EXPECT_EQ(graph.MinimumYExtent(), 5e-6);
  EXPECT_FALSE(graph.EqualAspect());
  EXPECT_EQ(graph.HLabelFormat(), "%3.4lf");
  EXPECT_EQ(graph.VLabelSize(), QSize(-1, -1));
  EXPECT_EQ(graph.TextHeight(), QFontMetrics(graph.font()).height());
  EXPECT_TRUE(graph.Pixmap().isNull());
  for (const QRect &rect : {graph.PlotRect(), graph.VLabelRect(), graph.VTitleRect(),
                            graph.HLabelRect(), graph.HTitleRect(), graph.TitleRect(),
                            graph.FullRect()})
    EXPECT_EQ(rect, QRect(QPoint(0, 0), QPoint(-1, -1)));
  EXPECT_TRUE(graph.testAttribute(Qt::WA_MouseTracking));
  EXPECT_EQ(graph.sizePolicy().verticalPolicy(), QSizePolicy::MinimumExpanding);
  EXPECT_STREQ(graph.metaObject()->className(), "TGraphWidget");
  const int offset = graph.metaObject()->methodOffset();
  EXPECT_EQ(graph.metaObject()->indexOfSlot("ZoomOut()"), offset);
  EXPECT_EQ(graph.metaObject()->indexOfSlot("ScaleToFit()"), offset + 1);
}

TEST(GraphData, DataSetIndicesFollowPositions)
{
  TGraphWidget graph;
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(graph.AddDataSet(QColor(i, 2, 3), i), i);
    graph.AddPoint(i, TVector2(i, 10.0 * i));
  }
  EXPECT_TRUE(graph.DeleteDataSet(0));
  ASSERT_EQ(graph.DataSetCount(), 2);
  EXPECT_EQ(graph.Point(0, 0).x, 1.0);
  EXPECT_EQ(graph.DataSet(1).Color, QColor(2, 2, 3));
  EXPECT_EQ(graph.DataSet(1).Style, 2);
  graph.ClearDataSets();
  EXPECT_EQ(graph.DataSetCount(), 0);
}

TEST(GraphData, PointOperationsKeepOrder)
{
  TGraphWidget graph;
  AddSet(graph, Qt::black, 1, {{0, 0}, {1, -1}, {2, -2}, {3, -3}});
  EXPECT_TRUE(graph.SetPoint(0, 2, TVector2(7.5, 8.5)));
  EXPECT_TRUE(graph.DeletePoint(0, 1));
  ASSERT_EQ(graph.PointCount(0), 3);
  EXPECT_EQ(graph.Point(0, 1).x, 7.5);
  EXPECT_EQ(graph.Point(0, 2).y, -3.0);
  // Overwriting a point with a reference to itself changes nothing.
  graph.SetPoint(0, 1, graph.DataSet(0).Points[1]);
  EXPECT_EQ(graph.Point(0, 1).y, 8.5);
  // Deleting every point leaves the data set in place.
  for (int i = 0; i < 3; ++i)
    graph.DeletePoint(0, 0);
  EXPECT_EQ(graph.DataSetCount(), 1);
  EXPECT_EQ(graph.PointCount(0), 0);
}

TEST(GraphData, MinimumYExtentFallsBackForNonPositiveValues)
{
  TGraphWidget graph;
  graph.SetMinimumYExtent(0.25);
  EXPECT_EQ(graph.MinimumYExtent(), 0.25);
  for (double bad : {0.0, -1.0, std::nan("")}) {
    graph.SetMinimumYExtent(bad);
    EXPECT_EQ(graph.MinimumYExtent(), 5e-5) << bad;
  }
}

TEST(GraphData, StandardColorTable)
{
  // index, r, g, b, known; negative indices count as unknown.
  const int table[][5] = {{0, 255, 0, 0, 1},   {1, 0, 127, 0, 1},   {3, 255, 127, 0, 1},
                          {4, 0, 127, 255, 1}, {6, 128, 0, 0, 1},   {95, 16, 0, 16, 1},
                          {96, 0, 0, 0, 1},    {97, 0, 0, 0, 0},    {-1, 0, 0, 0, 0}};
  for (const auto &row : table) {
    int r = -7, g = -7, b = -7;
    EXPECT_EQ(TGraphWidget::StandardColor(row[0], &r, &g, &b), row[4] != 0) << row[0];
    EXPECT_EQ(QColor(r, g, b), QColor(row[1], row[2], row[3])) << row[0];
  }
}

TEST(GraphData, SlotsPostOneRequestEach)
{
  TGraphWidget graph;
  graph.ZoomOut();
  graph.ZoomOut();
  EXPECT_TRUE(graph.ZoomOutRequested());
  EXPECT_FALSE(graph.ScaleToFitRequested());
  graph.ScaleToFit();
  EXPECT_TRUE(graph.ScaleToFitRequested());
}

TEST(GraphData, DataOperationsDoNotRender)
{
  TGraphWidget graph;
  ResizeGraph(graph, 200, 150);
  const qint64 key = graph.Pixmap().cacheKey();
  AddSet(graph, Qt::red, 0, {{1.0, 1.0}});
  graph.SetTitle("changed");
  EXPECT_EQ(graph.Pixmap().cacheKey(), key);
}

TEST(GraphDataDeathTest, IndicesPastTheEnd)
{
  const std::string set = AssertionPattern("Set < static_cast<int>(d_DataSets.size())");
  const std::string offset =
      AssertionPattern("Offset < static_cast<int>(d_DataSets[Set].Points.size())");
  TGraphWidget graph;
  AddSet(graph, Qt::black, 0, {{0.0, 0.0}});
  EXPECT_DEATH(graph.PointCount(1), set);
  EXPECT_DEATH(graph.AddPoint(1, TVector2()), set);
  EXPECT_DEATH(graph.SetPoint(1, 0, TVector2()), set);
  EXPECT_DEATH(graph.DeletePoint(1, 0), set);
  EXPECT_DEATH(graph.Point(1, 0), set);
  EXPECT_DEATH(graph.DataSet(1), set);
  EXPECT_DEATH(graph.DeleteDataSet(1),
               AssertionPattern("Offset < static_cast<int>(d_DataSets.size())"));
  EXPECT_DEATH(graph.SetPoint(0, 1, TVector2()), offset);
  EXPECT_DEATH(graph.DeletePoint(0, 1), offset);
  EXPECT_DEATH(graph.Point(0, 1), offset);
}
