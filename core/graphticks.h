#ifndef GRAPHTICKS_H
#define GRAPHTICKS_H

#include <QString>
#include <vector>

// Which ticks an axis gets.
enum class TTickRule
{
  // Evenly spread over the whole axis, one per label width, labels in a
  // format chosen from the axis's span: the window's rule.
  Window,
  // At multiples of a round step, 1, 2, 2.5 or 5 x 10^n, labelled with as
  // few decimals as the step needs: for plots in a report.
  RoundSteps,
};

// Ticks at round steps over one axis.
struct TRoundTicks
{
  double Step = 0.0;  // 0 when there are no ticks
  int Decimals = 0;   // the decimals the step needs
  std::vector<double> Values;
};

// The smallest round step that puts at most MaxTicks multiples of itself
// within Low ... High, and those multiples in increasing order. An empty
// or one-point range, a non-finite bound, fewer than two ticks allowed or
// a span too narrow for doubles to tell its ticks apart give none.
TRoundTicks RoundTicks(double Low, double High, int MaxTicks);

// A value of the ticks written with Decimals decimals in every locale;
// zero never carries a minus sign.
QString RoundTickLabel(double Value, int Decimals);

#endif
