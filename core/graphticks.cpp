#include "graphticks.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// The mantissas of the round steps, and the extra decimal that 2.5 needs.
const double Mantissas[] = {1.0, 2.0, 2.5, 5.0};
const int MantissaDecimals[] = {0, 0, 1, 0};

// Tick multiples beyond this lose the step's last digit in a double.
const double MaximumMultiple = 1e15;
// A bound within this share of a step of a multiple counts as on it, so
// that rounding in the division does not drop a tick on the bound.
const double Slack = 1e-9;

}  // namespace

TRoundTicks RoundTicks(double Low, double High, int MaxTicks)
{
  TRoundTicks ticks;
  if (!std::isfinite(Low) || !std::isfinite(High) || !(High > Low) || MaxTicks < 2)
    return ticks;
  // Start a decade below the step that would divide the span evenly and
  // take the first round step that fits no more ticks than allowed.
  int exponent = static_cast<int>(std::floor(std::log10((High - Low) / MaxTicks))) - 1;
  for (;; ++exponent)
    for (int m = 0; m < 4; ++m) {
      // Below one the step is divided by a power of ten, which is exact,
      // rather than multiplied by one, which is not (0.1): 3 x 0.1 would
      // miss a bound of 0.3.
      const double decade = std::pow(10.0, std::abs(exponent));
      const auto value = [&](double k) {
        return exponent < 0 ? k * Mantissas[m] / decade : k * Mantissas[m] * decade;
      };
      const double step = value(1.0);
      if (!std::isfinite(step))
        return ticks;
      const double first = std::ceil(Low / step - Slack), last = std::floor(High / step + Slack);
      if (std::fabs(first) > MaximumMultiple || std::fabs(last) > MaximumMultiple)
        return ticks;
      if (last - first + 1.0 > MaxTicks)
        continue;
      ticks.Step = step;
      ticks.Decimals = std::max(0, MantissaDecimals[m] - exponent);
      for (double k = first; k <= last; ++k)
        ticks.Values.push_back(value(k) + 0.0);  // + 0.0 turns -0 into 0
      return ticks;
    }
}

QString RoundTickLabel(double Value, int Decimals)
{
  QString text = QString::asprintf("%.*f", Decimals, Value);
  // A negative value that rounds to zero reads as zero, not -0.00.
  if (text.startsWith('-') && text.mid(1).toDouble() == 0.0)
    text.remove(0, 1);
  return text;
}
