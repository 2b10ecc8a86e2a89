#ifndef SIGNALOPTIONS_H
#define SIGNALOPTIONS_H

#include <cmath>
#include <cstdint>

// Bits an ADC may have; 0 stands for no ADC.
const int MinimumAdcBits = 4;
const int MaximumAdcBits = 24;

// The waveform's harmonics run from order 2 to this one.
const int MaximumHarmonic = 9;

// What lies between the grating and the interpolator besides each
// channel's gain, offset and phase: the waveform's harmonics, noise and
// the ADC. All off by default, and then the channels are the window's.
struct TSignalOptions
{
  // The grating's waveform sin x + sum of Harmonic[h] sin(h x +
  // HarmonicPhase[h]) over the orders h = 2 ... MaximumHarmonic, the same
  // for both channels a quarter period apart; orders 0 and 1 stay 0.
  double Harmonic[MaximumHarmonic + 1] = {};
  double HarmonicPhase[MaximumHarmonic + 1] = {};
  // Standard deviation of the Gaussian noise on every value, in the
  // channels' units.
  double Noise = 0.0;
  // Bits of the ADC over -1 ... +1; 0: no ADC.
  int AdcBits = 0;
  // Where the noise comes from.
  std::uint64_t Seed = 1;

  bool Plain() const { return !HasHarmonics() && Noise == 0.0 && AdcBits == 0; }
  // Whether any order has a K, and whether any but the third has.
  bool HasHarmonics() const { return Harmonic[3] != 0.0 || HasOtherHarmonics(); }
  bool HasOtherHarmonics() const
  {
    for (int h = 2; h <= MaximumHarmonic; ++h)
      if (h != 3 && Harmonic[h] != 0.0)
        return true;
    return false;
  }
  // The ADC's step, 2 / 2^AdcBits; 0 without an ADC.
  double AdcStep() const { return AdcBits > 0 ? 2.0 / static_cast<double>(1L << AdcBits) : 0.0; }
};

// A limited value as an ADC of step Step (2 / 2^N) reads it: two's
// complement codes -2^(N-1) ... 2^(N-1) - 1, each read as the middle of
// its interval, so the ADC adds no offset; +1 falls into the top code.
// Codes is 1 / Step, 2^(N-1), given so that loops divide once.
inline double AdcQuantized(double Value, double Step, double Codes)
{
  // Step is a power of two, so the scaling is exact; the truncation and
  // the fix for negative values are cheaper than floor.
  const double scaled = Value * Codes;
  if (!(std::fabs(scaled) < Codes + 1.0))
    return Value;  // NaN passes, as through the limit
  // Without branches: a noisy signal's sign would defeat their prediction.
  const double truncated = static_cast<double>(static_cast<long long>(scaled));
  const double code = truncated - static_cast<double>(truncated > scaled);
  const double top_code = Codes - 1.0;
  return ((code < top_code ? code : top_code) + 0.5) * Step;
}

#endif
