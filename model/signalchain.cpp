#include "signalchain.h"

#include <cassert>
#include <cmath>

#include "signallimit.h"

TSignalChannel::TSignalChannel(const TEncoderSetup &Setup, int Index, std::uint64_t Stream)
    : d_sine(Index == 0),
      d_gain(Setup.Gain[Index]),
      d_offset(Setup.Offset[Index]),
      d_phase(Setup.Phase[Index]),
      d_harmonic3(Setup.Signal.Harmonic3),
      d_harmonic3_phase(Setup.Signal.Harmonic3Phase),
      d_noise(Setup.Signal.Noise),
      d_adc_step(Setup.Signal.AdcStep()),
      d_generator(Setup.Signal.Seed, Stream)
{
  assert(Index == 0 || Index == 1);
}

double TSignalChannel::Value(double Angle)
{
  const double x = Angle + d_phase;
  // B is the waveform a quarter period on: sin(x + pi/2) + K sin(3x + 3pi/2 + PHI).
  double wave = d_sine ? std::sin(x) : std::cos(x);
  if (d_harmonic3 != 0.0) {
    const double third = 3.0 * x + d_harmonic3_phase;
    wave += d_sine ? d_harmonic3 * std::sin(third) : -d_harmonic3 * std::cos(third);
  }
  double value = wave * d_gain + d_offset;
  if (d_noise != 0.0)
    value += d_noise * d_generator.Next();
  value = Limited(value);
  return d_adc_step > 0.0 ? AdcQuantized(value, d_adc_step) : value;
}
