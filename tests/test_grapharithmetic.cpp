// The graph's arithmetic without a widget: the fit of a view to the data.
#include <gtest/gtest.h>

#include "graphfit.h"

// Margins are the span divided by 50: multiplying by 1.0 / 50.0 instead
// misses by one unit in the last place for about one span in seven, as
// for the y span 4.000005 here. Expected values from Python, following
// the rule: sy = 4.0 - (-5e-6); -5e-6 - sy / 50 and 4.0 + sy / 50; x
// alike with sx = (3 + 5e-6) - (3 - 5e-6).
TEST(GraphFit, MarginsAreTheSpanDividedByFifty)
{
  const TGraphFit fit = FitView({TDataSet{{{3.0, 4.0}}, Qt::black, 0}}, {5e-6, false, true, true},
                                QRect(0, 0, 99, 99));
  EXPECT_EQ(fit.YSpan, 4.000005);
  EXPECT_EQ(fit.YMin, -0.0800051);
  EXPECT_EQ(fit.YMax, 4.0800001);
  EXPECT_EQ(fit.XSpan, 9.999999999621423e-06);
  EXPECT_EQ(fit.XMin, 2.9999948);
  EXPECT_EQ(fit.XMax, 3.0000052);
}
