#include "interpolationerror.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "angles.h"
#include "encoderinterpolator.h"

TInterpolationError ComputeInterpolationError(const TEncoderChannel &A, const TEncoderChannel &B)
{
  std::vector<double> delta(AngleCount);
  std::vector<double> theta(AngleCount);
  for (int k = 0; k < AngleCount; ++k) {
    theta[k] = TwoPi * k / AngleCount;
    const double phi = TEncoderInterpolator::Angle(A.Value(theta[k]), B.Value(theta[k]));
    delta[k] = WrappedAngle(phi - theta[k]);
  }

  TInterpolationError error;
  const auto [low, high] = std::minmax_element(delta.begin(), delta.end());
  error.PeakToPeak = *high - *low;
  error.MaxAbs = std::max(std::fabs(*low), std::fabs(*high));
  double sum = 0.0, squares = 0.0;
  for (double d : delta) {
    sum += d;
    squares += d * d;
  }
  error.Mean = sum / AngleCount;
  error.Rms = std::sqrt(squares / AngleCount);

  // X = (2 / M) sum delta_k exp(-i h theta_k); the harmonic is then
  // |X| cos(h theta + arg X).
  for (int h = 1; h <= HarmonicCount; ++h) {
    double re = 0.0, im = 0.0;
    for (int k = 0; k < AngleCount; ++k) {
      re += delta[k] * std::cos(h * theta[k]);
      im -= delta[k] * std::sin(h * theta[k]);
    }
    re *= 2.0 / AngleCount;
    im *= 2.0 / AngleCount;
    error.Harmonics[h - 1] = {std::hypot(re, im), std::atan2(im, re)};
  }
  return error;
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
