#ifndef ENCODERSETUP_H
#define ENCODERSETUP_H

#include <cstddef>
#include <vector>

#include "encoderchannel.h"
#include "parameterranges.h"
#include "signaloptions.h"
#include "vector2.h"

// One encoder setup: the scale and both channels' distortions, with the
// window's start values as defaults.
struct TEncoderSetup
{
  double Pitch = PitchRange.Default;
  double Resolution = ResolutionRange.Default;
  double Gain[2] = {GainRange.Default, GainRange.Default};
  double Offset[2] = {OffsetRange.Default, OffsetRange.Default};
  double Phase[2] = {PhaseRange.Default, PhaseRange.Default};
  // Waveform, noise and ADC; off unless set.
  TSignalOptions Signal;

  // Interpolation counts per pitch; the caller has checked the range.
  int Count() const;
  // Channel A (sine) or B (cosine, index 1) with this setup's values and,
  // unless the caller needs only Value(), its sample table built.
  TEncoderChannel Channel(int Index, bool WithSamples = true) const;
};

// The interpolator's run over one pitch forward and back.
struct TEvaluation
{
  int Count = 0;
  // (true position, error) per sample, forward points first.
  std::vector<TVector2> Points;
  bool CountError = false;
  // Counter readings at the end of each pass, in whole counts.
  long CounterForward = 0;
  long CounterReturn = 0;

  std::size_t ForwardSize() const { return Points.size() / 2; }
};

TEvaluation Evaluate(const TEncoderSetup &Setup);

#endif
