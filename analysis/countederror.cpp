#include "countederror.h"

#include <cassert>
#include <cmath>

#include "angles.h"

namespace {

// The counter's own tolerance: a raw angle this close below a count edge
// already counts it.
const double CountEpsilon = 1e-9;

}  // namespace

TCountedError::TCountedError(const TCaptureAnalysis &Analysis, int Count, int SamplesPerCount)
    : d_count_angle(TwoPi / Count), d_sample_step(TwoPi / Count / SamplesPerCount)
{
  assert(Count > 0 && SamplesPerCount > 0);
  const TEllipse &e = Analysis.Ellipse;
  const double start = -0.5 * d_sample_step;
  d_start_raw = Analysis.RawAngle(e.A(start), e.B(start));
}

TVector2 TCountedError::At(double Corrected, double Raw) const
{
  // The simulation's forward run covers -step / 2 ... 2 pi - step / 2; a
  // sample at its start, within rounding, is its first.
  const double start = -0.5 * d_sample_step;
  const double angle = Corrected >= TwoPi + start - CountEpsilon ? Corrected - TwoPi : Corrected;
  // The raw angle's travel from the counter's start, taken the shorter way
  // round from the true travel.
  const double travel = angle - start;
  const double raw_travel = travel + WrappedAngle(Raw - d_start_raw - travel);
  const double counted = d_count_angle * std::floor((raw_travel + CountEpsilon) / d_count_angle);
  const double position = angle - 1.5 * d_sample_step;
  return TVector2(position, position - counted);
}
