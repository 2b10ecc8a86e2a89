// Layout of the graph's rectangles, the fit of the view to the data and
// the tick-label formats.
#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "graphfit.h"
#include "test_graphsupport.h"

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

QRect Corners(int Left, int Top, int Right, int Bottom)
{
  return QRect(QPoint(Left, Top), QPoint(Right, Bottom));
}

// The data values shown at the plot's left, right, bottom and top edges.
std::vector<double> View(const TGraphWidget &Graph)
{
  const TGraphMapping &map = Graph.Mapping();
  const QRect &plot = Graph.PlotRect();
  return {map.UnmapX(plot.left()), map.UnmapX(plot.right()), map.UnmapY(plot.bottom()),
          map.UnmapY(plot.top())};
}

void ExpectView(const TGraphWidget &Graph, const std::vector<double> &Expected, double Error)
{
  const std::vector<double> view = View(Graph);
  for (std::size_t i = 0; i < view.size(); ++i)
    EXPECT_NEAR(view[i], Expected[i], Error) << "edge " << i;
}

TGraphFit Fit(const std::vector<TVector2> &Points, const QRect &Plot, bool Equal = false,
              double Extent = 5e-6)
{
  return FitView({TDataSet{Points, Qt::black, 0}}, TFitSettings{Extent, Equal, true, true}, Plot);
}

}  // namespace

TEST(GraphLayout, RectanglesOfA400By300Widget)
{
  TGraphWidget graph;
  const int u = QFontMetrics(graph.font()).height();
  ResizeGraph(graph, 400, 300);
  EXPECT_EQ(graph.TitleRect(), Corners(7 * u, 0, 400, 2 * u));
  EXPECT_EQ(graph.PlotRect(), Corners(7 * u, 2 * u, 400 - u, 300 - 4 * u));
  EXPECT_EQ(graph.VLabelRect(), Corners(2 * u, 0, 6 * u, 300 - 2 * u));
  EXPECT_EQ(graph.VTitleRect(), Corners(0, 2 * u, 2 * u, 300 - 4 * u));
  EXPECT_EQ(graph.HLabelRect(), Corners(6 * u, 300 - 4 * u, 400, 300 - 2 * u));
  EXPECT_EQ(graph.HTitleRect(), Corners(7 * u, 300 - 2 * u, 400 - u, 300));
  EXPECT_EQ(graph.FullRect(), Corners(0, 0, 400, 300));
  // No minimum size: a tiny widget keeps its inverted plot rectangle.
  ResizeGraph(graph, 5, 5);
  EXPECT_EQ(graph.PlotRect(), Corners(7 * u, 2 * u, 5 - u, 5 - 4 * u));
}

TEST(GraphLayout, FitOfNoDataOrOnlyEmptySets)
{
  for (int sets = 0; sets < 2; ++sets) {
    TGraphWidget graph;
    if (sets)
      graph.AddDataSet(Qt::black, 0);
    ResizeGraph(graph, 400, 300);
    // Spans of exactly 1e-5 are not widened.
    EXPECT_EQ(graph.FitXSpan(), 1e-5);
    EXPECT_EQ(graph.FitYSpan(), 1e-5);
    const double edge = 5e-6 + 1e-5 / 50;
    ExpectView(graph, {-edge, edge, -edge, edge}, 1e-15);
  }
}

TEST(GraphLayout, FitOfOnePointAndOfPositiveY)
{
  TGraphWidget graph;
  AddSet(graph, Qt::black, 0, {{3.0, 4.0}});
  ResizeGraph(graph, 400, 300);
  const double sx = graph.FitXSpan(), sy = graph.FitYSpan();
  EXPECT_NEAR(sx, 1e-5, 1e-15);
  EXPECT_NEAR(sy, 4.0 + 5e-6, 1e-15);
  ExpectView(graph, {3 - 5e-6 - sx / 50, 3 + 5e-6 + sx / 50, -5e-6 - sy / 50, 4 + sy / 50},
             1e-12);

  // Zero stays just inside the plot when every y is positive.
  graph.ClearDataSets();
  AddSet(graph, Qt::black, 0, {{0.0, 2.0}, {1.0, 6.0}});
  graph.Replot();
  EXPECT_NEAR(View(graph)[2], -5e-6 - (6 + 5e-6) / 50, 1e-12);
  EXPECT_LT(graph.Mapping().MapY(0.0), graph.PlotRect().bottom());
  // A larger minimum extent widens the y range symmetrically.
  graph.SetMinimumYExtent(10.0);
  graph.Replot();
  EXPECT_EQ(graph.FitYSpan(), 20.0);
}

TEST(GraphLayout, FitWithEqualAspectOnA300By200Plot)
{
  TGraphWidget graph;
  const int u = graph.TextHeight();
  graph.SetEqualAspect(true);
  AddSet(graph, Qt::black, 0, {{-0.1, -1.0}, {0.1, 1.0}});
  ResizeGraph(graph, 300 + 8 * u, 200 + 6 * u);
  ASSERT_EQ(graph.PlotRect().right() - graph.PlotRect().left(), 300);
  ASSERT_EQ(graph.PlotRect().bottom() - graph.PlotRect().top(), 200);
  EXPECT_DOUBLE_EQ(graph.FitXSpan(), 3.0);
  EXPECT_DOUBLE_EQ(graph.FitYSpan(), 2.0);
  ExpectView(graph, {-1.56, 1.56, -1.04, 1.04}, 1e-12);
  EXPECT_DOUBLE_EQ(graph.Mapping().m11, -graph.Mapping().m22);
}

TEST(GraphLayout, LabelFormatsAndSizesFollowTheShownRange)
{
  TGraphWidget graph;
  AddSet(graph, Qt::black, 0, {{0.0, 0.0}, {100.0, 100.0}});
  ResizeGraph(graph, 400, 300);
  // -2 ... 102 on both axes: two digits before the point, one decimal.
  EXPECT_EQ(graph.HLabelFormat(), "% 4.1lf");
  EXPECT_EQ(graph.VLabelFormat(), "% 4.1lf");
  QPixmap pixmap(1, 1);
  QPainter painter(&pixmap);
  EXPECT_EQ(graph.HLabelSize(), painter.boundingRect(QRect(), 0, "00.0  ").size());
  EXPECT_EQ(graph.VLabelSize(), painter.boundingRect(QRect(), 0, "00.0    ").size());

  graph.ClearDataSets();
  AddSet(graph, Qt::black, 0, {{0.0, -1.0}, {6.28, 1.0}});
  graph.Replot();
  EXPECT_EQ(graph.HLabelFormat(), "% 5.4lf");
  EXPECT_EQ(graph.VLabelFormat(), "% 6.5lf");
}

TEST(GraphFit, SkipsNaNAndInfinitePoints)
{
  const QRect plot = Corners(147, 42, 379, 216);
  const TGraphFit clean = Fit({{1.0, 2.0}, {3.0, -4.0}}, plot);
  const TGraphFit dirty =
      Fit({{NaN, 100.0}, {1.0, 2.0}, {-Inf, 0.0}, {50.0, Inf}, {3.0, -4.0}}, plot);
  EXPECT_EQ(dirty.XMin, clean.XMin);
  EXPECT_EQ(dirty.XMax, clean.XMax);
  EXPECT_EQ(dirty.YMin, clean.YMin);
  EXPECT_EQ(dirty.YMax, clean.YMax);
  EXPECT_EQ(Fit({{NaN, 1.0}, {Inf, Inf}}, plot).XSpan, 1e-5);  // as if empty
}

TEST(GraphFit, ExtremeValuesAndShapesKeepSpansPositiveAndFinite)
{
  const QRect plot = Corners(147, 42, 379, 216);
  const struct { std::vector<TVector2> points; QRect plot; bool equal; double extent; } cases[] = {
      {{{-1.7e308, -1.7e308}, {1.7e308, 1.7e308}}, plot, false, 5e-6},
      {{{0.0, 1e300}}, Corners(0, 0, 100000, 1), true, Inf},
      {{{1e12, 1e12}}, plot, false, 5e-6},  // 1e12 + 5e-6 rounds back to 1e12
      {{{2.0, 1.0}, {4.0, -1.0}}, Corners(147, 42, 147, 300), true, 5e-6},  // no width
  };
  for (const auto &c : cases) {
    const TGraphFit fit = Fit(c.points, c.plot, c.equal, c.extent);
    EXPECT_TRUE(fit.XSpan > 0.0 && std::isfinite(fit.XSpan)) << fit.XSpan;
    EXPECT_TRUE(fit.YSpan > 0.0 && std::isfinite(fit.YSpan)) << fit.YSpan;
    EXPECT_TRUE(fit.Map.m11 > 0.0 && fit.Map.m22 < 0.0);
    EXPECT_TRUE(std::isfinite(fit.Map.m11 + fit.Map.m22 + fit.Map.dx + fit.Map.dy));
  }
  EXPECT_EQ(Fit(cases[0].points, plot).XSpan, 2 * FitLimit);
  EXPECT_NEAR(Fit(cases[2].points, plot).Map.MapX(1e12), (147 + 379) / 2.0, 1.0);
  EXPECT_DOUBLE_EQ((Fit(cases[3].points, cases[3].plot, true).XMin +
                    Fit(cases[3].points, cases[3].plot, true).XMax) / 2, 3.0);
}
