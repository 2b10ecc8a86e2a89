#ifndef COUNTEDERROR_H
#define COUNTEDERROR_H

#include "captureanalysis.h"
#include "vector2.h"

// A capture's measured error as the simulation's counter shows it, so that
// the two meet on one graph at any resolution: the raw angle is counted in
// whole counts from where the simulation starts its counter, half a sample
// step before the corrected zero, and the true position lags the corrected
// angle by the simulation's one and a half sample steps.
class TCountedError
{
public:
  // Count interpolation counts per period, SamplesPerCount samples each
  // (the interpolator's own two settings).
  TCountedError(const TCaptureAnalysis &Analysis, int Count, int SamplesPerCount);

  // (true position, true less counted position), both in rad, for a
  // sample at corrected angle Corrected (0 ... 2 pi) whose raw pair has
  // the angle Raw.
  TVector2 At(double Corrected, double Raw) const;

private:
  double d_count_angle;
  double d_sample_step;
  double d_start_raw;
};

#endif
