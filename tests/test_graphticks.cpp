// The report's options of the graph: ticks at round steps as a pure
// function, and a fit that counts from zero. Expected lists worked by hand:
// the smallest of 1, 2, 2.5, 5 x 10^n with no more multiples in the range
// than allowed.
#include <gtest/gtest.h>
#include <QStringList>
#include <cmath>
#include <tuple>

#include "graphfit.h"
#include "graphticks.h"

TEST(GraphRoundTicks, DegenerateRangesGiveNoTicks)
{
  const double nan = std::nan(""), inf = INFINITY;
  // Low, high, most ticks: empty, one point, room for one tick only, no
  // bound, no end, narrower than a double tells, likewise far out.
  const std::tuple<double, double, int> cases[] = {{1.0, 0.0, 5},
                                                   {2.0, 2.0, 5},
                                                   {0.0, 1.0, 1},
                                                   {nan, 1.0, 5},
                                                   {0.0, inf, 5},
                                                   {1.0, std::nextafter(1.0, 2.0), 5},
                                                   {1e300, std::nextafter(1e300, inf), 5}};
  for (const auto &[low, high, most] : cases) {
    const TRoundTicks ticks = RoundTicks(low, high, most);
    EXPECT_TRUE(ticks.Values.empty() && ticks.Step == 0.0) << low << ' ' << high << ' ' << most;
  }
}

TEST(GraphRoundTicks, MultiplesOfTheSmallestRoundStepThatFits)
{
  const struct
  {
    double Low, High;
    int MaxTicks;
    double Step;
    QStringList Labels;
  } cases[] = {
      // Tiny spans: 1e-9 gives 7 ticks, 5e-10 would give 13.
      {-3e-9,
       3e-9,
       7,
       1e-9,
       {"-0.000000003", "-0.000000002", "-0.000000001", "0.000000000", "0.000000001", "0.000000002",
        "0.000000003"}},
      // Negative only: 0.001 gives 11, 0.002 gives -6 ... -2.
      {-0.0123, -0.0021, 5, 0.002, {"-0.012", "-0.010", "-0.008", "-0.006", "-0.004"}},
      // 0.2 gives 6, 0.25 gives 5: two decimals.
      {0.0, 1.0, 5, 0.25, {"0.00", "0.25", "0.50", "0.75", "1.00"}},
      // 2.5 at the unit needs one decimal.
      {0.0, 10.0, 5, 2.5, {"0.0", "2.5", "5.0", "7.5", "10.0"}},
      // Bounds on ticks stay ticks though 0.3 / 0.1 < 3 in doubles.
      {0.3, 0.7, 5, 0.1, {"0.3", "0.4", "0.5", "0.6", "0.7"}},
      // An axis the window labels 0.00172, 0.00622, ...: 0.0025 gives 7, 0.005 3.
      {0.00172, 0.01972, 5, 0.005, {"0.005", "0.010", "0.015"}},
      // A tick at a rounded -0 is written 0.
      {-0.1, 0.4, 3, 0.2, {"0.0", "0.2", "0.4"}},
      {-0.4, 0.4, 3, 0.25, {"-0.25", "0.00", "0.25"}},
      // Large counts: 5e6 gives 11, 1e7 gives 6.
      {0.0, 5e7, 6, 1e7, {"0", "10000000", "20000000", "30000000", "40000000", "50000000"}},
      {-37.0, 1240.0, 4, 500.0, {"0", "500", "1000"}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.Low << " ... " << c.High << " in " << c.MaxTicks);
    const TRoundTicks ticks = RoundTicks(c.Low, c.High, c.MaxTicks);
    EXPECT_DOUBLE_EQ(ticks.Step, c.Step);
    QStringList labels;
    for (double value : ticks.Values)
      labels << RoundTickLabel(value, ticks.Decimals);
    EXPECT_EQ(labels, c.Labels);
    // Each value is the label's number to the last bit: k x step, exact.
    for (int i = 0; i < labels.size() && i < c.Labels.size(); ++i)
      EXPECT_EQ(ticks.Values[i], c.Labels[i].toDouble()) << i;
  }
}

TEST(GraphRoundTicks, AFitFromZeroCountsWithoutAMarginBelow)
{
  // Counts 3 and 7: from 0 to 7 plus a fiftieth on top only; without the
  // option the range holds -E and margins on both sides.
  const std::vector<TDataSet> bars = {TDataSet{{TVector2(1, 3), TVector2(2, 7)}, Qt::black, 2}};
  const QRect plot(QPoint(0, 0), QPoint(300, 200));
  TFitSettings settings{1.0, false, true, true};
  settings.YFromZero = true;
  const TGraphFit counted = FitView(bars, settings, plot);
  EXPECT_EQ(counted.YMin, 0.0);
  EXPECT_DOUBLE_EQ(counted.YMax, 7.0 + 7.0 / 50.0);
  settings.YFromZero = false;
  const TGraphFit window = FitView(bars, settings, plot);
  EXPECT_DOUBLE_EQ(window.YMin, -1.0 - 8.0 / 50.0);
}
