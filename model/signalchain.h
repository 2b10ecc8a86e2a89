#ifndef SIGNALCHAIN_H
#define SIGNALCHAIN_H

#include <cstdint>

#include "encodersetup.h"
#include "gaussiannoise.h"

// The noise streams of one setup: each channel draws from its own, so the
// values do not depend on the order in which the interpolator asks for
// them, and the counter's passes and the error's angles have their own.
enum TNoiseStream : std::uint64_t
{
  CounterStreamA = 0,
  CounterStreamB = 1,
  GridStreamA = 2,
  GridStreamB = 3,
};

// One channel of a setup as the interpolator receives it: the grating's
// waveform with its harmonics, gain and offset, noise, the limit and the
// ADC, in that order. Without harmonics, noise and ADC its values are the
// window channel's to the last bit.
class TSignalChannel
{
public:
  // Index 0 is channel A (sine), 1 channel B (cosine).
  TSignalChannel(const TEncoderSetup &Setup, int Index, std::uint64_t Stream);

  // The next value at Angle: every call draws new noise.
  double Value(double Angle);

private:
  // The sum over all orders costs a loop; a lone third harmonic does not.
  enum class TShape
  {
    Sinusoid,
    Third,
    Harmonics,
  };
  double HarmonicWave(double X) const;

  bool d_sine;
  double d_gain, d_offset, d_phase;
  TShape d_shape;
  // Of the third harmonic: K cos PHI and K sin PHI.
  double d_k_cos, d_k_sin;
  // Of each order h in this channel: K cos and K sin of its phase, B's
  // taken h quarter periods on.
  double d_h_cos[MaximumHarmonic + 1], d_h_sin[MaximumHarmonic + 1];
  double d_noise;
  double d_adc_step, d_adc_codes;
  TGaussianNoise d_generator;
};

// The grating's waveform sin X + sum K_h sin(h X + phase_h), term by term,
// for a value here and there; TSignalChannel takes a faster road for runs
// of values.
double Waveform(const TSignalOptions &Signal, double X);

// The largest magnitude channel Index (0 = A, 1 = B) reaches before the
// limit at -1 ... +1, noise and ADC left out: above one the simulation
// clips it.
double PeakBeforeLimit(const TEncoderSetup &Setup, int Index);

#endif
