#ifndef PARAMETERRANGES_H
#define PARAMETERRANGES_H

// The ranges of the setup's parameters and of the interpolation count.
// The parameter table (setupparameters.h) gives each parameter its range.

#include <limits>

struct TParameterRange
{
  double Minimum;
  double Maximum;
  // The window's spin box: its start value, its step and its decimals.
  double Default;
  double Step;
  int Decimals;

  constexpr bool Contains(double Value) const { return Value >= Minimum && Value <= Maximum; }
};

// Pitch and resolution in mm: any positive value, from the least
// positive double on; the window shows them with these decimals.
inline constexpr TParameterRange PitchRange = {std::numeric_limits<double>::denorm_min(),
                                               std::numeric_limits<double>::infinity(), 0.040, 0.0,
                                               3};
inline constexpr TParameterRange ResolutionRange = {std::numeric_limits<double>::denorm_min(),
                                                    std::numeric_limits<double>::infinity(), 0.0050,
                                                    0.0, 4};

inline constexpr TParameterRange GainRange = {0.1, 2.0, 1.0, 0.05, 2};
inline constexpr TParameterRange OffsetRange = {-1.0, 1.0, 0.0, 0.1, 2};
// +-pi/4 and a tenth of it as the step, each rounded to 14 decimals.
inline constexpr TParameterRange PhaseRange = {-0.78539816339745, 0.78539816339745, 0.0,
                                               0.07853981633975, 6};

// A harmonic of the grating's waveform, relative to the fundamental:
// beyond a third the third harmonic gives extra zero crossings.
inline constexpr TParameterRange HarmonicRange = {-0.3, 0.3, 0.0, 0.005, 3};
// Its phase in radians, one turn either way.
inline constexpr TParameterRange HarmonicPhaseRange = {-6.28318530717959, 6.28318530717959, 0.0,
                                                       0.1, 3};
// The noise's standard deviation: up to the full scale.
inline constexpr TParameterRange NoiseRange = {0.0, 1.0, 0.0, 0.001, 4};

// Interpolation counts per pitch (pitch / resolution, rounded) that the
// report accepts.
inline constexpr int MinimumCount = 2;
inline constexpr int MaximumCount = 200000;

#endif
