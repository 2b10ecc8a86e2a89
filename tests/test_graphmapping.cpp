// The data-to-pixel mapping: its construction, inversion and the guards
// that keep pixel coordinates representable.
#include <cmath>
#include <gtest/gtest.h>

#include "graphmapping.h"

namespace {

const double Limit = TGraphMapping::PixelLimit;

TGraphMapping UnitMap()
{
  return TGraphMapping::FromRanges(0.0, 1.0, 0.0, 1.0, QRect(0, 0, 101, 101));
}

}  // namespace

TEST(GraphMapping, RangesLandOnThePlotEdgesAndUnmapUndoesMap)
{
  const QRect plot(QPoint(100, 20), QPoint(500, 220));
  const TGraphMapping map = TGraphMapping::FromRanges(-2.0, 6.0, -1.0, 3.0, plot);
  EXPECT_DOUBLE_EQ(map.MapX(-2.0), 100.0);
  EXPECT_DOUBLE_EQ(map.MapX(6.0), 500.0);
  EXPECT_DOUBLE_EQ(map.MapY(-1.0), 220.0);
  EXPECT_DOUBLE_EQ(map.MapY(3.0), 20.0);
  EXPECT_EQ(map.m12, 0.0);
  for (double v : {-1e3, 0.0, 1.5e-3, 3.25})
    EXPECT_NEAR(map.UnmapY(map.MapY(v)), v, 1e-12 * std::max(1.0, std::fabs(v)));
  // A plot without extent (or inverted) still gets an invertible mapping.
  for (const QRect &flat : {QRect(QPoint(147, 42), QPoint(147, 42)),
                            QRect(QPoint(147, 42), QPoint(-16, -79))}) {
    const TGraphMapping degenerate = TGraphMapping::FromRanges(0.0, 2.0, -1.0, 1.0, flat);
    EXPECT_GT(degenerate.m11, 0.0);
    EXPECT_LT(degenerate.m22, 0.0);
    EXPECT_TRUE(std::isfinite(degenerate.UnmapX(flat.right())));
  }
}

TEST(GraphMapping, PixelsTruncateTowardZeroAndClamp)
{
  EXPECT_EQ(TGraphMapping::Pixel(1.9), 1);
  EXPECT_EQ(TGraphMapping::Pixel(-1.9), -1);
  EXPECT_EQ(TGraphMapping::Pixel(1e300), static_cast<int>(Limit));
  EXPECT_EQ(TGraphMapping::Pixel(-INFINITY), -static_cast<int>(Limit));
  EXPECT_EQ(TGraphMapping::Pixel(NAN), -static_cast<int>(Limit));
  EXPECT_EQ(UnitMap().Row(1e300), -static_cast<int>(Limit));
}

TEST(GraphMapping, ClipSegmentToThePixelLimit)
{
  const TGraphMapping map = UnitMap();
  // Inside the limit: untouched, bit for bit.
  double x0 = 0.123456789, y0 = -3.5, x1 = 1000.0, y1 = 0.987654321;
  ASSERT_TRUE(map.ClipSegment(x0, y0, x1, y1));
  EXPECT_EQ(x0, 0.123456789);
  EXPECT_EQ(y1, 0.987654321);
  // Reaching far out: cut at the limit, in the same direction.
  x0 = y0 = 0.5;
  x1 = y1 = 1e300;
  ASSERT_TRUE(map.ClipSegment(x0, y0, x1, y1));
  EXPECT_EQ(x0, 0.5);
  EXPECT_NEAR(x1, y1, 1e-9 * x1);
  EXPECT_NEAR(std::fabs(map.MapX(x1)), Limit, 1.0);
  // Between the extremes of double: finite ends, however imprecise.
  x0 = y0 = -1.7e308;
  x1 = y1 = 1.7e308;
  ASSERT_TRUE(map.ClipSegment(x0, y0, x1, y1));
  EXPECT_TRUE(std::isfinite(x0) && std::isfinite(y0) && std::isfinite(x1) && std::isfinite(y1));
  // Wholly beyond the limit: nothing left.
  x0 = 1e300, y0 = 0.0, x1 = 2e300, y1 = 5.0;
  EXPECT_FALSE(map.ClipSegment(x0, y0, x1, y1));
}
