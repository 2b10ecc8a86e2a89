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
      d_harmonic3(Setup.Signal.Harmonic3),
      d_k_cos(Setup.Signal.Harmonic3 * std::cos(Setup.Signal.Harmonic3Phase)),
      d_k_sin(Setup.Signal.Harmonic3 * std::sin(Setup.Signal.Harmonic3Phase)),
      d_noise(Setup.Signal.Noise),
      d_adc_step(Setup.Signal.AdcStep()),
      d_adc_codes(d_adc_step > 0.0 ? 1.0 / d_adc_step : 0.0),
      d_generator(Setup.Signal.Seed, Stream)
{
  assert(Index == 0 || Index == 1);
}

double TSignalChannel::Value(double Angle)
{
  const double x = Angle + d_phase;
  // B is the waveform a quarter period on: sin(x + pi/2) + K sin(3x + 3pi/2 + PHI).
  double wave;
  if (d_harmonic3 == 0.0) {
    wave = d_sine ? std::sin(x) : std::cos(x);
  } else {
    // One sine and cosine of x (the compiler pairs them) and the
    // triple-angle formulas, instead of two more calls per value.
    const double s = std::sin(x), c = std::cos(x);
    const double s3 = s * (3.0 - 4.0 * s * s), c3 = c * (4.0 * c * c - 3.0);
    // K sin(3x + P) = s3 K cos P + c3 K sin P; K cos(3x + P) = c3 K cos P - s3 K sin P.
    wave = d_sine ? s + (s3 * d_k_cos + c3 * d_k_sin) : c - (c3 * d_k_cos - s3 * d_k_sin);
  }
  double value = wave * d_gain + d_offset;
  if (d_noise != 0.0)
    value += d_noise * d_generator.Next();
  value = Limited(value);
  return d_adc_step > 0.0 ? AdcQuantized(value, d_adc_step, d_adc_codes) : value;
}

double PeakBeforeLimit(const TEncoderSetup &Setup, int Index)
{
  assert(Index == 0 || Index == 1);
  const double gain = Setup.Gain[Index], offset = Setup.Offset[Index];
  const double k = Setup.Signal.Harmonic3;
  if (k == 0.0)
    return std::fabs(offset) + std::fabs(gain);
  // The waveform's extremes, found on a fine grid: between grid points the
  // waveform (curvature at most 1 + 9 K) departs from them by less than
  // 1e-8.
  const int steps = 1 << 16;
  const double phase = Setup.Signal.Harmonic3Phase;
  double low = 0.0, high = 0.0;
  for (int i = 0; i < steps; ++i) {
    const double x = TwoPi * i / steps;
    const double wave = std::sin(x) + k * std::sin(3.0 * x + phase);
    low = std::min(low, wave);
    high = std::max(high, wave);
  }
  // B's waveform is A's a quarter period on: the same extremes.
  return std::max(std::fabs(offset + gain * high), std::fabs(offset + gain * low));
}
