#include "studytrial.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "angles.h"
#include "encoderinterpolator.h"
#include "errorsamples.h"
#include "errorunits.h"
#include "interpolationerror.h"
#include "signallimit.h"

namespace {

// SplitMix64's output function: spreads neighbouring trial indices over
// unrelated generator seeds.
std::uint64_t SplitMix64(std::uint64_t State)
{
  std::uint64_t z = State + 0x9E3779B97F4A7C15ULL;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

// Into the window's range, counting the draws that needed it.
double Clamped(double Value, const TParameterRange &Range, int &Count)
{
  if (!Range.Contains(Value)) {
    ++Count;
    return std::clamp(Value, Range.Minimum, Range.Maximum);
  }
  return Value;
}

TEncoderChannel Channel(const TEncoderSetup &Setup, int Index)
{
  // Evaluate uses only Value(), so the sample table is left unbuilt.
  TEncoderChannel channel;
  channel.d_type = Index == 0 ? SIN_CHANNEL : COS_CHANNEL;
  channel.SetGain(Setup.Gain[Index]);
  channel.SetOffset(Setup.Offset[Index]);
  channel.SetPhase(Setup.Phase[Index]);
  return channel;
}

}  // namespace

TTrialDraw DrawTrial(const TStudySetup &Study, long Index)
{
  std::mt19937_64 generator(SplitMix64(Study.Seed ^ SplitMix64(static_cast<std::uint64_t>(Index))));
  std::normal_distribution<double> normal(0.0, 1.0);
  std::uniform_real_distribution<double> uniform(-1.0, 1.0);
  const auto deviation = [&](double Tolerance) {
    // Drawn even for a zero tolerance, so every trial uses its generator
    // the same way.
    const double unit =
        Study.Distribution == TDistribution::Normal ? normal(generator) : uniform(generator);
    return Tolerance == 0.0 ? 0.0 : Tolerance * unit;
  };
  TTrialDraw draw;
  draw.Setup = Study.Nominal;
  const TTolerances &t = Study.Tolerances;
  for (int c = 0; c < 2; ++c) {
    TEncoderSetup &s = draw.Setup;
    s.Gain[c] = Clamped(s.Gain[c] + deviation(t.Gain[c]), GainRange, draw.Clamped);
    s.Offset[c] = Clamped(s.Offset[c] + deviation(t.Offset[c]), OffsetRange, draw.Clamped);
    s.Phase[c] = Clamped(s.Phase[c] + deviation(t.Phase[c]), PhaseRange, draw.Clamped);
  }
  return draw;
}

TTrialEvaluator::TTrialEvaluator() : d_theta(AngleCount), d_sin(AngleCount), d_cos(AngleCount)
{
  // The same angles as the summary's.
  for (int k = 0; k < AngleCount; ++k) {
    d_theta[k] = GridAngle(k);
    d_sin[k] = std::sin(d_theta[k]);
    d_cos[k] = std::cos(d_theta[k]);
  }
}

void TTrialEvaluator::InterpolationError(const TEncoderSetup &Setup, double &PeakToPeak,
                                         double &MaxAbs) const
{
  // sin(t + p) = sin t cos p + cos t sin p; cos(t + p) = cos t cos p - sin t sin p.
  const double cos_a = std::cos(Setup.Phase[0]), sin_a = std::sin(Setup.Phase[0]);
  const double cos_b = std::cos(Setup.Phase[1]), sin_b = std::sin(Setup.Phase[1]);
  TErrorSamples<TErrorFigures::Extremes> errors;
  for (int k = 0; k < AngleCount; ++k) {
    const double s = d_sin[k], c = d_cos[k];
    const double a = Limited((s * cos_a + c * sin_a) * Setup.Gain[0] + Setup.Offset[0]);
    const double b = Limited((c * cos_b - s * sin_b) * Setup.Gain[1] + Setup.Offset[1]);
    errors.Add(WrappedAngle(TEncoderInterpolator::Angle(a, b) - d_theta[k]));
  }
  PeakToPeak = errors.PeakToPeak();
  MaxAbs = errors.MaxAbs();
}

TTrialFigures TTrialEvaluator::Evaluate(const TEncoderSetup &Setup) const
{
  TTrialFigures figures;
  TEncoderInterpolator interpolator;
  interpolator.SetInterpolatorCount(Setup.Count());
  interpolator.Evaluate(Setup.Pitch, Channel(Setup, 0), Channel(Setup, 1), &figures.CountError);
  double peak_to_peak = 0.0, max_abs = 0.0;
  InterpolationError(Setup, peak_to_peak, max_abs);
  figures.PeakToPeak = RadToPercentPeriod(peak_to_peak);
  figures.MaxAbs = RadToPercentPeriod(max_abs);
  return figures;
}
