#include "studytrial.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "angles.h"
#include "encoderinterpolator.h"
#include "errorsamples.h"
#include "errorunits.h"
#include "gaussiannoise.h"
#include "interpolationerror.h"
#include "signalchain.h"
#include "signallimit.h"

namespace {

// Into the window's range, counting the draws that needed it.
double Clamped(double Value, const TParameterRange &Range, int &Count)
{
  if (!Range.Contains(Value)) {
    ++Count;
    return std::clamp(Value, Range.Minimum, Range.Maximum);
  }
  return Value;
}

// The toleranced parameters in the order a trial draws them.
const std::vector<const TSetupParameter *> &DrawOrder()
{
  static const std::vector<const TSetupParameter *> order = [] {
    std::vector<const TSetupParameter *> list;
    for (const TSetupParameter *parameter : ChannelParameters())
      if (parameter->Toleranced)
        list.push_back(parameter);
    // After the six, so a study without them draws the trials it always
    // did; the other harmonics last for the same reason.
    for (TParameterPart part : {TParameterPart::Signal, TParameterPart::Harmonic})
      for (const TSetupParameter &parameter : SetupParameters())
        if (parameter.Toleranced && parameter.Part == part)
          list.push_back(&parameter);
    return list;
  }();
  return order;
}

}  // namespace

TTolerances::TTolerances()
{
  for (const TSetupParameter &parameter : SetupParameters())
    parameter.In(d_spread) = 0.0;
}

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
  for (const TSetupParameter *parameter : DrawOrder()) {
    double &value = parameter->In(draw.Setup);
    value = Clamped(value + deviation(Study.Tolerances.Of(*parameter)), *parameter->Range,
                    draw.Clamped);
  }
  // 53 bits, so the worst trial's command line can give it to --seed.
  draw.Setup.Signal.Seed =
      SplitMix64(Study.Seed ^ SplitMix64(~static_cast<std::uint64_t>(Index))) >> 11;
  return draw;
}

TTrialEvaluator::TTrialEvaluator()
    : d_theta(AngleCount),
      d_sin(AngleCount),
      d_cos(AngleCount),
      d_sin3(AngleCount),
      d_cos3(AngleCount)
{
  // The same angles as the summary's.
  for (int k = 0; k < AngleCount; ++k) {
    d_theta[k] = GridAngle(k);
    d_sin[k] = std::sin(d_theta[k]);
    d_cos[k] = std::cos(d_theta[k]);
    d_sin3[k] = std::sin(3.0 * d_theta[k]);
    d_cos3[k] = std::cos(3.0 * d_theta[k]);
  }
}

void TTrialEvaluator::SignalError(const TEncoderSetup &Setup, double &PeakToPeak,
                                  double &MaxAbs) const
{
  // As the plain loop, with sin(3(t + p) + P) = sin 3t cos(3p + P) + cos 3t
  // sin(3p + P) for the harmonic, and the noise from the grid's streams.
  const TSignalOptions &signal = Setup.Signal;
  TErrorSamples<TErrorFigures::Extremes> errors;
  if (signal.HasOtherHarmonics()) {
    // Rarer, and not worth its own tables: the summary's channels.
    const TGridSignals grid = GridSignals(Setup);
    for (int i = 0; i < AngleCount; ++i)
      errors.Add(WrappedAngle(TEncoderInterpolator::Angle(grid.A[i], grid.B[i]) - d_theta[i]));
    PeakToPeak = errors.PeakToPeak();
    MaxAbs = errors.MaxAbs();
    return;
  }
  const double cos_a = std::cos(Setup.Phase[0]), sin_a = std::sin(Setup.Phase[0]);
  const double cos_b = std::cos(Setup.Phase[1]), sin_b = std::sin(Setup.Phase[1]);
  const double third_a = 3.0 * Setup.Phase[0] + signal.HarmonicPhase[3];
  const double third_b = 3.0 * Setup.Phase[1] + signal.HarmonicPhase[3];
  const double k = signal.Harmonic[3];
  const double cos_3a = k * std::cos(third_a), sin_3a = k * std::sin(third_a);
  const double cos_3b = k * std::cos(third_b), sin_3b = k * std::sin(third_b);
  const double sigma = signal.Noise, step = signal.AdcStep();
  const double codes = step > 0.0 ? 1.0 / step : 0.0;
  // The noise first, each stream in its order: a loop of its own keeps the
  // generator's work clear of the arctangent's.
  thread_local std::vector<double> noise_a(AngleCount), noise_b(AngleCount);
  if (sigma != 0.0) {
    TGaussianNoise(signal.Seed, GridStreamA).Fill(noise_a.data(), AngleCount, sigma);
    TGaussianNoise(signal.Seed, GridStreamB).Fill(noise_b.data(), AngleCount, sigma);
  }
  for (int i = 0; i < AngleCount; ++i) {
    const double s = d_sin[i], c = d_cos[i], s3 = d_sin3[i], c3 = d_cos3[i];
    double a =
        (s * cos_a + c * sin_a + (s3 * cos_3a + c3 * sin_3a)) * Setup.Gain[0] + Setup.Offset[0];
    double b =
        (c * cos_b - s * sin_b - (c3 * cos_3b - s3 * sin_3b)) * Setup.Gain[1] + Setup.Offset[1];
    if (sigma != 0.0) {
      a += noise_a[i];
      b += noise_b[i];
    }
    a = Limited(a);
    b = Limited(b);
    if (step > 0.0) {
      a = AdcQuantized(a, step, codes);
      b = AdcQuantized(b, step, codes);
    }
    errors.Add(WrappedAngle(TEncoderInterpolator::Angle(a, b) - d_theta[i]));
  }
  PeakToPeak = errors.PeakToPeak();
  MaxAbs = errors.MaxAbs();
}

void TTrialEvaluator::InterpolationError(const TEncoderSetup &Setup, double &PeakToPeak,
                                         double &MaxAbs) const
{
  if (!Setup.Signal.Plain()) {
    SignalError(Setup, PeakToPeak, MaxAbs);
    return;
  }
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
  if (Setup.Signal.Plain()) {
    // Evaluate uses only Value(), so the sample tables are left unbuilt.
    interpolator.Evaluate(Setup.Pitch, Setup.Channel(0, false), Setup.Channel(1, false),
                          &figures.CountError);
  } else {
    TSignalChannel a(Setup, 0, CounterStreamA), b(Setup, 1, CounterStreamB);
    interpolator.EvaluateChannels(Setup.Pitch, a, b, &figures.CountError);
  }
  double peak_to_peak = 0.0, max_abs = 0.0;
  InterpolationError(Setup, peak_to_peak, max_abs);
  figures.PeakToPeak = RadToPercentPeriod(peak_to_peak);
  figures.MaxAbs = RadToPercentPeriod(max_abs);
  return figures;
}
