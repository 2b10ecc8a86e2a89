#ifndef REPEATABILITY_H
#define REPEATABILITY_H

#include <array>

#include "fittedfigures.h"

struct TFigureSpread
{
  double Mean = 0.0;
  // The sample standard deviation over the fits; 0 for one.
  double Sd = 0.0;
};

// How one measurement repeats: each figure's mean and standard deviation
// over repeated acquisitions of the same signals.
class TRepeatability
{
public:
  void Add(const TCaptureAnalysis &Analysis);
  long Count() const { return d_count; }
  TFigureSpread Spread(int Figure) const;

private:
  long d_count = 0;
  // Welford's running mean and sum of squared deviations.
  std::array<double, FittedFigureCount> d_mean{}, d_squares{};
};

#endif
