#include "signalchain.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "angles.h"
#include "signallimit.h"

TSignalChannel::TSignalChannel(const TEncoderSetup &Setup, int Index, std::uint64_t Stream)
    : d_sine(Index == 0),
      d_gain(Setup.Gain[Index]),
      d_offset(Setup.Offset[Index]),
      d_phase(Setup.Phase[Index]),
      d_shape(Setup.Signal.HasOtherHarmonics()  ? TShape::Harmonics
              : Setup.Signal.Harmonic[3] != 0.0 ? TShape::Third
                                                : TShape::Sinusoid),
      d_k_cos(Setup.Signal.Harmonic[3] * std::cos(Setup.Signal.HarmonicPhase[3])),
      d_k_sin(Setup.Signal.Harmonic[3] * std::sin(Setup.Signal.HarmonicPhase[3])),
      d_noise(Setup.Signal.Noise),
      d_adc_step(Setup.Signal.AdcStep()),
      d_adc_codes(d_adc_step > 0.0 ? 1.0 / d_adc_step : 0.0),
      d_generator(Setup.Signal.Seed, Stream)
{
  assert(Index == 0 || Index == 1);
  for (int h = 0; h <= MaximumHarmonic; ++h) {
    const double k = Setup.Signal.Harmonic[h], phase = Setup.Signal.HarmonicPhase[h];
    double k_cos = k * std::cos(phase), k_sin = k * std::sin(phase);
    // sin(h (x + pi/2) + PHI) is sin(h x + PHI) turned h quarter turns:
    // each turns (K cos, K sin) into (-K sin, K cos), exactly.
    for (int turn = 0; !d_sine && turn < h % 4; ++turn) {
      const double turned = -k_sin;
      k_sin = k_cos;
      k_cos = turned;
    }
    d_h_cos[h] = k_cos;
    d_h_sin[h] = k_sin;
  }
}

// Kept out of Value(), whose common paths then stay as short as before.
[[gnu::noinline]] double TSignalChannel::HarmonicWave(double X) const
{
  // sin h x and cos h x by the angle sum from h - 1, one sine and cosine
  // for all orders.
  const double s = std::sin(X), c = std::cos(X);
  double wave = d_sine ? s : c;
  double s_h = s, c_h = c;
  for (int h = 2; h <= MaximumHarmonic; ++h) {
    const double next = s_h * c + c_h * s;
    c_h = c_h * c - s_h * s;
    s_h = next;
    // K sin(h x + P) = sin h x K cos P + cos h x K sin P.
    wave += s_h * d_h_cos[h] + c_h * d_h_sin[h];
  }
  return wave;
}

double TSignalChannel::Value(double Angle)
{
  const double x = Angle + d_phase;
  // B is the waveform a quarter period on: sin(x + pi/2) + K sin(3x + 3pi/2 + PHI).
  double wave;
  if (d_shape == TShape::Sinusoid) {
    wave = d_sine ? std::sin(x) : std::cos(x);
  } else if (d_shape == TShape::Third) {
    // One sine and cosine of x (the compiler pairs them) and the
    // triple-angle formulas, instead of two more calls per value.
    const double s = std::sin(x), c = std::cos(x);
    const double s3 = s * (3.0 - 4.0 * s * s), c3 = c * (4.0 * c * c - 3.0);
    // K sin(3x + P) = s3 K cos P + c3 K sin P; K cos(3x + P) = c3 K cos P - s3 K sin P.
    wave = d_sine ? s + (s3 * d_k_cos + c3 * d_k_sin) : c - (c3 * d_k_cos - s3 * d_k_sin);
  } else {
    wave = HarmonicWave(x);
  }
  double value = wave * d_gain + d_offset;
  if (d_noise != 0.0)
    value += d_noise * d_generator.Next();
  value = Limited(value);
  return d_adc_step > 0.0 ? AdcQuantized(value, d_adc_step, d_adc_codes) : value;
}

double Waveform(const TSignalOptions &Signal, double X)
{
  double wave = std::sin(X);
  // Only the orders set: a lone third harmonic costs one term.
  for (int h = 2; h <= MaximumHarmonic; ++h)
    if (Signal.Harmonic[h] != 0.0)
      wave += Signal.Harmonic[h] * std::sin(h * X + Signal.HarmonicPhase[h]);
  return wave;
}

double PeakBeforeLimit(const TEncoderSetup &Setup, int Index)
{
  assert(Index == 0 || Index == 1);
  const double gain = Setup.Gain[Index], offset = Setup.Offset[Index];
  const TSignalOptions &signal = Setup.Signal;
  if (!signal.HasHarmonics())
    return std::fabs(offset) + std::fabs(gain);
  // The waveform's extremes, found on a fine grid: between grid points the
  // waveform (curvature at most 1 + the sum of h^2 |K|, below 90) departs
  // from them by less than 1e-7.
  const int steps = 1 << 16;
  double low = 0.0, high = 0.0;
  for (int i = 0; i < steps; ++i) {
    const double wave = Waveform(signal, TwoPi * i / steps);
    low = std::min(low, wave);
    high = std::max(high, wave);
  }
  // B's waveform is A's a quarter period on: the same extremes.
  return std::max(std::fabs(offset + gain * high), std::fabs(offset + gain * low));
}
