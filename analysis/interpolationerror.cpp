#include "interpolationerror.h"

#include <cmath>
#include <vector>

#include "angles.h"
#include "encoderinterpolator.h"
#include "errorsamples.h"
#include "signalchain.h"

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

TGridSignals GridSignals(const TEncoderSetup &Setup)
{
  TSignalChannel a(Setup, 0, GridStreamA), b(Setup, 1, GridStreamB);
  TGridSignals signals;
  signals.A.resize(AngleCount);
  signals.B.resize(AngleCount);
  for (int k = 0; k < AngleCount; ++k) {
    const double theta = GridAngle(k);
    signals.A[k] = a.Value(theta);
    signals.B[k] = b.Value(theta);
  }
  return signals;
}

TInterpolationError ComputeInterpolationError(const TGridSignals &Signals)
{
  const std::vector<THarmonicAngle> &grid = GridHarmonics();
  TErrorSamples<TErrorFigures::All> samples(TAngleSpacing::Even);
  for (int k = 0; k < AngleCount; ++k) {
    const double phi = TEncoderInterpolator::Angle(Signals.A[k], Signals.B[k]);
    samples.Add(grid[k], WrappedAngle(phi - GridAngle(k)));
  }
  return samples.Result();
}

TInterpolationError GridErrorFigures(const std::vector<double> &Error)
{
  const std::vector<THarmonicAngle> &grid = GridHarmonics();
  TErrorSamples<TErrorFigures::All> samples(TAngleSpacing::Even);
  for (int k = 0; k < AngleCount; ++k)
    samples.Add(grid[k], Error[k]);
  return samples.Result();
}

namespace {

// Scale |K| cos(n t + Phase + Shift), with K's sign in the phase.
THarmonic ErrorTerm(double K, double Phase, double Scale, double Shift)
{
  return {Scale * std::fabs(K), WrappedAngle(Phase + Shift + (K < 0.0 ? Pi : 0.0))};
}

// Into the estimate's harmonic Order, if it keeps that order.
void AddTerm(THarmonic (&Harmonics)[HarmonicCount], int Order, const THarmonic &Term)
{
  if (Order > HarmonicCount)
    return;
  THarmonic &sum = Harmonics[Order - 1];
  if (sum.Amplitude == 0.0) {
    sum = Term;
    return;
  }
  const double p = sum.Amplitude * std::cos(sum.Phase) + Term.Amplitude * std::cos(Term.Phase);
  const double q = sum.Amplitude * std::sin(sum.Phase) + Term.Amplitude * std::sin(Term.Phase);
  sum = {std::hypot(p, q), std::atan2(q, p)};
}

// With a = sin t + K sin(u), u = h t + P, and b = cos t + K sin(u + h pi/2)
// the angle error is a cos t - b sin t to first order: K sin(u + t) for
// h = 3 mod 4, K sin(u - t) for h = 1 mod 4, K sin u (cos t -+ sin t) for
// even h, which is two harmonics of K / sqrt 2 a quarter turn apart.
void AddWaveformHarmonic(THarmonic (&Harmonics)[HarmonicCount], int Order, double K, double Phase)
{
  const double half = 1.0 / std::sqrt(2.0);
  switch (Order % 4) {
    case 3:
      AddTerm(Harmonics, Order + 1, Harmonic3Error(K, Phase));
      break;
    case 1:
      AddTerm(Harmonics, Order - 1, ErrorTerm(K, Phase, 1.0, -Pi / 2.0));
      break;
    case 0:
      AddTerm(Harmonics, Order + 1, ErrorTerm(K, Phase, half, -Pi / 4.0));
      AddTerm(Harmonics, Order - 1, ErrorTerm(K, Phase, half, -3.0 * Pi / 4.0));
      break;
    default:
      AddTerm(Harmonics, Order + 1, ErrorTerm(K, Phase, half, -3.0 * Pi / 4.0));
      AddTerm(Harmonics, Order - 1, ErrorTerm(K, Phase, half, -Pi / 4.0));
  }
}

}  // namespace

THarmonic Harmonic3Error(double K, double Phase)
{
  // With a = sin t + K sin(3t + P) and b = cos t - K cos(3t + P) the
  // angle error is (a cos t - b sin t) = K sin(4t + P) to first order,
  // K cos(4t + P - pi/2).
  if (K == 0.0)
    return {};
  return ErrorTerm(K, Phase, 1.0, -Pi / 2.0);
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
  for (int h = 2; h <= MaximumHarmonic; ++h)
    if (Setup.Signal.Harmonic[h] != 0.0)
      AddWaveformHarmonic(estimate.Harmonics, h, Setup.Signal.Harmonic[h],
                          Setup.Signal.HarmonicPhase[h]);
  // Noise n on the channels moves the angle by (nA cos t / gA - nB sin t /
  // gB), whose variance over the period is the mean of both channels'
  // (n / g)^2; the ADC's steps act as uniform noise of variance q^2 / 12.
  const double gain =
      1.0 /
      std::sqrt((1.0 / (Setup.Gain[0] * Setup.Gain[0]) + 1.0 / (Setup.Gain[1] * Setup.Gain[1])) /
                2.0);
  estimate.NoiseRms = Setup.Signal.Noise / gain;
  estimate.QuantizationRms = Setup.Signal.AdcStep() / std::sqrt(12.0) / gain;
  return estimate;
}
