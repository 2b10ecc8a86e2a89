#include "repeatability.h"

#include <cassert>
#include <cmath>

void TRepeatability::Add(const TCaptureAnalysis &Analysis)
{
  ++d_count;
  for (int k = 0; k < FittedFigureCount; ++k) {
    const double value = FittedFigures()[k].Of(Analysis);
    const double delta = value - d_mean[k];
    d_mean[k] += delta / static_cast<double>(d_count);
    d_squares[k] += delta * (value - d_mean[k]);
  }
}

TFigureSpread TRepeatability::Spread(int Figure) const
{
  assert(Figure >= 0 && Figure < FittedFigureCount && d_count > 0);
  TFigureSpread spread;
  spread.Mean = d_mean[Figure];
  if (d_count > 1)
    spread.Sd = std::sqrt(d_squares[Figure] / static_cast<double>(d_count - 1));
  return spread;
}
