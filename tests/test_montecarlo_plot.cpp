// The study's histogram: its bins, and the bars as pixels in the PNG that
// --plot writes.
#include <gtest/gtest.h>
#include <QBuffer>
#include <QImage>

#include "graphwidget.h"
#include "plotfile.h"
#include "studyplot.h"

namespace {

// Trials whose half peak-to-peak is the value and whose largest
// magnitude, biased, is ten more.
TFigureList Figures(const std::vector<std::pair<double, int>> &ValueCounts)
{
  TFigureList figures;
  for (const auto &[value, count] : ValueCounts)
    for (int i = 0; i < count; ++i) {
      TTrialFigures f;
      f.PeakToPeak = 2.0 * value;
      f.MaxAbs = value + 10.0;
      figures.push_back(f);
    }
  return figures;
}

// Navy runs along one row: (first column, last column) each.
std::vector<std::pair<int, int>> Runs(const QImage &Image, int Row)
{
  std::vector<std::pair<int, int>> runs;
  for (int x = 0; x < Image.width(); ++x)
    if (Image.pixel(x, Row) == qRgb(0, 0, 128)) {
      if (runs.empty() || runs.back().second != x - 1)
        runs.push_back({x, x});
      else
        runs.back().second = x;
    }
  return runs;
}

int BarTop(const QImage &Image, int Column, int Bottom)
{
  int y = Bottom;
  while (y > 0 && Image.pixel(Column, y - 1) == qRgb(0, 0, 128))
    --y;
  return y;
}

}  // namespace

TEST(MonteCarloPlotTest, HistogramBinsSpanTheValuesAndDrawAsBars)
{
  // Ten trials at 1.0, five at 2.0, one at 3.0, the limit at 2.5: by
  // hand, 40 bins of 0.05 from 1.0; 2.0 opens bin 20 and 3.0 closes bin 39.
  const TFigureList figures = Figures({{2.0, 5}, {1.0, 10}, {3.0, 1}});
  const std::vector<TVector2> bins = JudgedHistogram(figures, TLimitOn::HalfPeakToPeak, 2.5);
  ASSERT_EQ(bins.size(), 40u);
  EXPECT_DOUBLE_EQ(bins[0].x, 1.025);
  EXPECT_DOUBLE_EQ(bins[39].x, 2.975);
  double total = 0.0;
  for (int b = 0; b < 40; ++b) {
    const double expected = b == 0 ? 10 : b == 20 ? 5 : b == 39 ? 1 : 0;
    EXPECT_EQ(bins[b].y, expected) << b;
    total += bins[b].y;
  }
  EXPECT_EQ(total, 16.0);
  // The bins reach out to a limit beyond the values: from 0 in bins of
  // 0.075, up to 5 in bins of 0.1, and the largest magnitude's values
  // 11 ... 13 up to 15 in bins of 0.1.
  const struct
  {
    TLimitOn On;
    double Limit, First, Last;
  } ranges[] = {{TLimitOn::HalfPeakToPeak, 0.0, 0.0375, 2.9625},
                {TLimitOn::HalfPeakToPeak, 5.0, 1.05, 4.95},
                {TLimitOn::MaxAbs, 15.0, 11.05, 14.95}};
  for (const auto &r : ranges) {
    const std::vector<TVector2> range = JudgedHistogram(figures, r.On, r.Limit);
    ASSERT_EQ(range.size(), 40u);
    EXPECT_DOUBLE_EQ(range.front().x, r.First) << r.Limit;
    EXPECT_DOUBLE_EQ(range.back().x, r.Last) << r.Limit;
  }
  // Equal values at the limit make one bar.
  const std::vector<TVector2> one =
      JudgedHistogram(Figures({{0.7, 4}}), TLimitOn::HalfPeakToPeak, 0.7);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].x, 0.7);
  EXPECT_EQ(one[0].y, 4.0);

  TGraphWidget graph;
  TStudySetup study;
  study.LimitPercent = 2.5;
  ShowHistogram(graph, figures, study);
  EXPECT_EQ(graph.Title(), "Monte Carlo study: 16 trials");
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(WritePlot(graph, TPlotFormat::Png, QSize(700, 300), buffer));
  QImage image;
  ASSERT_TRUE(image.loadFromData(buffer.data(), "PNG"));
  ASSERT_EQ(image.size(), QSize(700, 300));

  // An empty bin leaves a strip two rows high at zero, the lowest navy
  // row; a few rows up stand only the three filled bins' bars.
  int bottom = image.height() - 1;
  while (bottom > 0 && Runs(image, bottom).empty())
    --bottom;
  const std::vector<std::pair<int, int>> strip = Runs(image, bottom);
  const std::vector<std::pair<int, int>> bars = Runs(image, bottom - 3);
  ASSERT_EQ(bars.size(), 3u);
  EXPECT_GT(strip.front().first, bars[0].second);
  EXPECT_LT(strip.back().second, bars[2].first);
  double centre[3], height[3];
  for (int i = 0; i < 3; ++i) {
    centre[i] = (bars[i].first + bars[i].second) / 2.0;
    height[i] = bottom + 1 - BarTop(image, static_cast<int>(centre[i]), bottom);
  }
  // Heights as 10 : 5 : 1, to the rounding of both ends; the middle bar at (2.025 - 1.025) /
  // (2.975 - 1.025) of the way from the first to the last.
  EXPECT_NEAR(height[1] / height[0], 0.5, 1.5 / height[0]);
  EXPECT_NEAR(height[2] / height[0], 0.1, 1.5 / height[0]);
  EXPECT_NEAR((centre[1] - centre[0]) / (centre[2] - centre[0]), 1.0 / 1.95, 0.01);
}
