#include "interpolationerror.h"

#include <cmath>
#include <vector>

#include "angles.h"
#include "encoderinterpolator.h"
#include "errorsamples.h"

namespace {

// The grid's angles with each order's cosine and sine, worked out once.
const std::vector<THarmonicAngle> &GridHarmonics()
{
  static const std::vector<THarmonicAngle> grid = [] {
    std::vector<THarmonicAngle> angles(AngleCount);
    for (int k = 0; k < AngleCount; ++k)
      angles[k] = THarmonicAngle::FromAngle(GridAngle(k));
    return angles;
  }();
  return grid;
}

}  // namespace

TInterpolationError ComputeInterpolationError(const TEncoderChannel &A, const TEncoderChannel &B)
{
  const std::vector<THarmonicAngle> &grid = GridHarmonics();
  TErrorSamples<TErrorFigures::All> samples(TAngleSpacing::Even);
  for (int k = 0; k < AngleCount; ++k) {
    const double theta = GridAngle(k);
    const double phi = TEncoderInterpolator::Angle(A.Value(theta), B.Value(theta));
    samples.Add(grid[k], WrappedAngle(phi - theta));
  }
  return samples.Result();
}

TFirstOrderEstimate EstimateInterpolationError(const TEncoderSetup &Setup)
{
  // With a = gA sin(t + pA) + oA and b = gB cos(t + pB) + oB, the angle
  // error to first order is
  //   (oA cos t - oB sin t) / g + e sin 2t + (pA - pB) / 2 cos 2t + (pA + pB) / 2
  // with e = (gA - gB) / (gA + gB); the offsets are scaled by each
  // channel's own gain, the same to first order.
  TFirstOrderEstimate estimate;
  const double a1 = Setup.Offset[0] / Setup.Gain[0];
  const double b1 = Setup.Offset[1] / Setup.Gain[1];
  // a1 cos t - b1 sin t = R cos(t + phase) with R cos phase = a1, R sin phase = b1.
  estimate.Harmonics[0] = {std::hypot(a1, b1), std::atan2(b1, a1)};
  const double gain_term = (Setup.Gain[0] - Setup.Gain[1]) / (Setup.Gain[0] + Setup.Gain[1]);
  const double phase_term = (Setup.Phase[0] - Setup.Phase[1]) / 2.0;
  // e sin 2t + q cos 2t = R cos(2t + phase) with R cos phase = q, R sin phase = -e.
  estimate.Harmonics[1] = {std::hypot(gain_term, phase_term), std::atan2(-gain_term, phase_term)};
  estimate.Mean = (Setup.Phase[0] + Setup.Phase[1]) / 2.0;
  return estimate;
}
