// Tick placement and tick-label formats, without a widget.
#include <QLocale>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "graphaxis.h"

TEST(GraphAxis, LabelFormats)
{
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  // magnitude, span -> width, decimals
  const struct { double m, s; int width, decimals; } cases[] = {
      {0.8, 1.6, 6, 5}, {3.2, 6.4, 5, 4}, {12, 24, 4, 2}, {12, 2, 7, 5}, {250, 500, 3, 0},
      {1.0, 1000, 6, 5},                         // a magnitude of exactly 1 is small
      {2, 0.001, 6, 5}, {2, 2.718, 6, 5}, {2, 2.719, 5, 4},  // natural log of the span
      {2, 7.390, 4, 3}, {2, 148.41, 2, 1}, {2, 148.42, 1, 0},
      {nan, 3, 6, 5}, {12, nan, 7, 5}, {12, inf, 2, 0}, {inf, inf, 309, 0}};
  for (const auto &c : cases) {
    const TLabelFormat format = ChooseLabelFormat(c.m, c.s);
    EXPECT_EQ(format.Width, c.width) << c.m << ", " << c.s;
    EXPECT_EQ(format.Decimals, c.decimals) << c.m << ", " << c.s;
  }
}

TEST(GraphAxis, FormatSampleAndLabelTexts)
{
  EXPECT_EQ(LabelFormatText({6, 5}), "% 6.5lf");
  EXPECT_EQ(LabelSampleText({6, 5}, 2), "0.00000  ");
  EXPECT_EQ(LabelSampleText({7, 2}, 4), "0000.00    ");
  EXPECT_EQ(TickLabel("% 6.5lf", 0.5), " 0.50000");
  EXPECT_EQ(TickLabel("% 6.5lf", -0.5), "-0.50000");
  EXPECT_EQ(TickLabel("% 3.0lf", 249.6), " 250");
  const QLocale saved;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  const QString label = TickLabel("% 6.5lf", 1234.5);
  QLocale::setDefault(saved);
  EXPECT_EQ(label, " 1234.50000");
}

TEST(GraphAxis, TicksRunFromTheFirstPixelToOnePastTheEnd)
{
  EXPECT_EQ(TickPositions(0, 273, 60), (std::vector<int>{0, 91, 182, 273}));
  EXPECT_EQ(TickPositions(0, 205, 16),
            (std::vector<int>{0, 18, 37, 55, 74, 93, 111, 130, 149, 167, 186, 205}));
  EXPECT_EQ(TickPositions(147, 120, 60), (std::vector<int>{147, 267}));
  // Fewer than two ticks, or no step, give none at all.
  for (int extent : {119, 1, 0, -120})
    EXPECT_TRUE(TickPositions(0, extent, 60).empty()) << extent;
  EXPECT_TRUE(TickPositions(0, 500, 0).empty());
}
