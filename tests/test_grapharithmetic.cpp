// The graph's arithmetic, without a widget: label formats, ticks, the
// data-to-pixel mapping, the fit and the zoom. Expected values are worked
// by hand or, where stated, computed in Python following the rule.
#include <gtest/gtest.h>
#include <QLocale>
#include <cmath>
#include <tuple>
#include <utility>

#include "graphaxis.h"
#include "graphfit.h"
#include "graphview.h"
#include "testhelpers.h"

namespace {

// Compared exactly, unlike QPointF.
using TPair = std::pair<double, double>;

TGraphFit Fit(const std::vector<TVector2> &Points, double Extent = 5e-6, bool Equal = false,
              const QRect &Plot = QRect(QPoint(0, 0), QPoint(300, 200)))
{
  return FitView({TDataSet{Points, Qt::black, 0}}, {Extent, Equal, true, true}, Plot);
}

// 100 pixels per unit: x 0 ... 4 over columns 100 ... 500, y 0 ... 2 over
// rows 250 ... 50.
const QRect Plot(QPoint(100, 50), QPoint(500, 250));
const TGraphMapping Start = TGraphMapping::FromRanges(0.0, 4.0, 0.0, 2.0, Plot);

}  // namespace

TEST(GraphAxis, LabelFormatFollowsTheMagnitudeAndThePowersOfEOfTheSpan)
{
  const std::tuple<double, double, const char *> cases[] = {
      {0.8, 1.6, "% 6.5lf"},     {3.2, 6.4, "% 5.4lf"},
      {12, 24, "% 4.2lf"},       {12, 2, "% 7.5lf"},
      {250, 500, "% 3.0lf"},     {1.0, 1000, "% 6.5lf"},
      {NAN, 3, "% 6.5lf"},       {12, NAN, "% 7.5lf"},
      {12, INFINITY, "% 2.0lf"}, {INFINITY, INFINITY, "% 309.0lf"}};
  for (const auto &[magnitude, span, format] : cases)
    EXPECT_EQ(LabelFormatText(ChooseLabelFormat(magnitude, span)), format) << magnitude;
  // Measured zero-padded; printed by C rules in every locale.
  EXPECT_EQ(LabelSampleText({9, 2}, 2), "000000.00  ");
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  const QString label = TickLabel("% 6.5lf", 1234.5) + TickLabel("% 3.0lf", -2.0);
  QLocale::setDefault(QLocale::system());
  EXPECT_EQ(label, " 1234.50000 -2");
}

TEST(GraphAxis, TicksRunEvenlyFromTheFirstPixelOverTheWholeExtentTruncated)
{
  EXPECT_EQ(TickPositions(112, 273, 60), (std::vector<int>{112, 203, 294, 385}));
  EXPECT_EQ(TickPositions(0, 205, 16),
            (std::vector<int>{0, 18, 37, 55, 74, 93, 111, 130, 149, 167, 186, 205}));
  EXPECT_TRUE(TickPositions(0, 119, 60).empty());  // fewer than two ticks give none
  EXPECT_TRUE(TickPositions(0, 100, 0).empty());
}

TEST(GraphMapping, MapsTheRangesOntoThePlotTruncatesPixelsTowardZeroAndClipsKeepingDirection)
{
  EXPECT_EQ(TPair(Start.MapX(1.5), Start.MapY(0.25)), TPair(250.0, 225.0));
  EXPECT_EQ(TPair(Start.UnmapX(300.0), Start.UnmapY(50.0)), TPair(2.0, 2.0));
  EXPECT_EQ(QPoint(Start.Column(1.237), Start.Row(0.194)), QPoint(223, 230));  // 223.7, 230.6
  EXPECT_EQ(QPoint(TGraphMapping::Pixel(-2.7), TGraphMapping::Pixel(NAN)), QPoint(-2, -4194304));
  EXPECT_EQ(QPoint(TGraphMapping::Pixel(5e6), TGraphMapping::Pixel(-5e6)),
            QPoint(4194304, -4194304));  // 2^22
  // A plot without extent counts as one pixel across and down.
  const TGraphMapping flat = TGraphMapping::FromRanges(0, 2, 0, 4, Corners(9, 9, 9, 5));
  EXPECT_EQ(TPair(flat.m11, flat.m22), TPair(0.5, -0.25));

  // A zoomed view puts ordinary points far beyond int pixels: cutting must
  // keep a segment's direction, not clamp each end on its own.
  double x0 = 0.5, y0 = 0.5, x1 = 1e300, y1 = 0.5e300;
  ASSERT_TRUE(Start.ClipSegment(x0, y0, x1, y1));
  EXPECT_EQ(TPair(x0, y0), TPair(0.5, 0.5));
  EXPECT_TRUE(Start.MapX(x1) <= 4194304 && Start.MapY(y1) >= -4194304);
  EXPECT_NEAR((y1 - y0) / (x1 - x0), 0.5, 1e-9);
  double a = 1e200, b = 1e200, c = 2e200, d = -1e200;  // wholly outside
  EXPECT_FALSE(Start.ClipSegment(a, b, c, d));
}

// The fitted x and y ranges, margins included, on a plot 300 pixels
// across and 200 down, computed in Python following the rule: for the
// point (3, 4), sy = 4.0 - (-5e-6), then -5e-6 - sy / 50 and 4.0 + sy / 50
// (multiplying by 1.0 / 50.0 instead misses by one unit in the last place);
// with equal aspect, x from xc + 1.5 * ymin to xc + 1.5 * ymax first.
TEST(GraphFit, RangesHoldThePointsAndPlusMinusEWithMarginsOfAFiftiethAndStayFinite)
{
  const struct
  {
    std::vector<TVector2> Points;
    double Extent;
    bool Equal;
    std::vector<double> Ranges;
  } fits[] = {
      // No data: spans of exactly 1e-5, not widened.
      {{}, 5e-6, false, {-5.2e-6, 5.2e-6, -5.2e-6, 5.2e-6}},
      {{{3, 4}}, 5e-6, false, {2.9999948, 3.0000052, -0.0800051, 4.0800001}},
      {{{0, 2}, {1, 6}}, 5e-6, false, {-0.02, 1.02, -0.1200051, 6.1200001}},
      // The oscilloscope at gain 0.5 and extent 1; an all-negative curve.
      {{{0, -0.5}, {1, 0.5}}, 1.0, false, {-0.02, 1.02, -1.04, 1.04}},
      {{{0, -3}, {1, -2}}, 1.0, false, {-0.02, 1.02, -3.08, 1.08}},
      // A flat curve at E = 1e-9: widened by 5e-6 on each side.
      {{{0, 0}, {1, 0}}, 1e-9, false, {-0.02, 1.02, -5.20104e-06, 5.20104e-06}},
      // Equal aspect: centred on the data only when y is.
      {{{-0.1, -1}, {0.1, 1}}, 5e-6, true, {-1.56, 1.56, -1.04, 1.04}},
      {{{1, -3}, {3, -2}}, 1.0, true, {-2.62, 3.62, -3.08, 1.08}},
  };
  for (const auto &fit : fits) {
    const TGraphFit f = Fit(fit.Points, fit.Extent, fit.Equal);
    EXPECT_EQ((std::vector<double>{f.XMin, f.XMax, f.YMin, f.YMax}), fit.Ranges) << fit.Ranges[3];
  }
  // Both axes at one scale; a plot without height counts as square.
  const TGraphMapping round = Fit({{-0.1, -1.0}, {0.1, 1.0}}, 5e-6, true).Map;
  EXPECT_DOUBLE_EQ(round.m11, -round.m22);
  EXPECT_EQ(Fit({{0.0, -1.0}, {0.0, 1.0}}, 5e-6, true, QRect(0, 0, 300, 1)).XSpan, 2.0);

  // Coordinates are clamped to +-1e290, so spans and margins stay finite;
  // at 1e12, where a step of 5e-6 rounds away, the widening grows.
  const TGraphFit huge = Fit({{-1.7e308, -1e308}, {1.7e308, 0.0}});
  EXPECT_EQ(TPair(huge.XSpan, huge.YSpan), TPair(2e290, 1e290));
  const TGraphMapping far = Fit({{1e12, 1e12}}).Map;
  EXPECT_TRUE(far.m11 > 0.0 && far.m22 < 0.0 && std::isfinite(far.m11 + far.dx + far.dy));
}

TEST(GraphView, ZoomStaysWithinFiftyFitsAndAboveTheMinimumSpanAndZoomsOutByTwo)
{
  // Band 2 ... 1002 on a fit span of 10: scaled to 500 towards data 0.
  TGraphMapping map = Start;
  ASSERT_TRUE(ViewFromRect(map, QRect(QPoint(300, -10000), QPoint(100300, 250)), Plot, 10.0, 1.0));
  ExpectView(map, Plot, {1.0, 501.0, 0.0, 50.0});
  // A band of no width or height gets 1e-5 about its pixel.
  map = Start;
  ASSERT_TRUE(ViewFromRect(map, QRect(200, 150, 1, 1), Plot, 4.0, 2.0));
  ExpectView(map, Plot, {1.0 - 5e-6, 1.0 + 5e-6, 1.0 - 5e-6, 1.0 + 5e-6});
  // Far from 0, where a step of 5e-6 rounds away, it still gets a view.
  map = TGraphMapping::FromRanges(1e12, 1e12 + 4.0, 0.0, 2.0, Plot);
  ASSERT_TRUE(ViewFromRect(map, QRect(200, 100, 1, 1), Plot, 4.0, 2.0));
  EXPECT_TRUE(std::isfinite(map.m11) && std::isfinite(map.dx) && map.m11 > 0.0);
  // A plot without extent takes no view.
  map = Start;
  EXPECT_FALSE(ViewFromRect(map, QRect(120, 60, 30, 30), QRect(100, 50, 1, 200), 4.0, 2.0));
  ExpectView(map, Plot, {0.0, 4.0, 0.0, 2.0});

  // Zooming out: twice the width and height about the centre, in whole
  // pixels; halving truncates towards zero.
  EXPECT_EQ(ZoomOutRect(QRect(0, 0, 10, 10)), Corners(-5, -5, 14, 14));
  EXPECT_EQ(ZoomOutRect(QRect(10, 20, 11, 6)), Corners(5, 17, 26, 28));
  EXPECT_EQ(ZoomOutRect(QRect(-5, -3, 10, 10)), Corners(-9, -8, 10, 11));
}
