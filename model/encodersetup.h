#ifndef ENCODERSETUP_H
#define ENCODERSETUP_H

#include <cstddef>
#include <string>
#include <vector>

#include "encoderchannel.h"
#include "parameterranges.h"
#include "signaloptions.h"
#include "vector2.h"

// One encoder setup: the scale and both channels' distortions, with the
// window's start values as defaults.
struct TEncoderSetup
{
  double Pitch = 0.040;
  double Resolution = 0.0050;
  double Gain[2] = {GainRange.Default, GainRange.Default};
  double Offset[2] = {OffsetRange.Default, OffsetRange.Default};
  double Phase[2] = {PhaseRange.Default, PhaseRange.Default};
  // Waveform, noise and ADC; off unless set.
  TSignalOptions Signal;

  // Interpolation counts per pitch; the caller has checked the range.
  int Count() const;
  // Channel A (sine) or B (cosine, index 1) with this setup's values and
  // its sample table built.
  TEncoderChannel Channel(int Index) const;
};

// One of the six channel parameters: its kind and its channel (0 = A,
// 1 = B).
enum class TParameterKind
{
  Gain,
  Offset,
  Phase
};

struct TChannelParameter
{
  TParameterKind Kind = TParameterKind::Gain;
  int Channel = 0;

  // "gain-a", "offset-b", ...: the name options, sweeps, tolerances and
  // command lines use.
  std::string Name() const;
  const TParameterRange &Range() const;
  double &In(TEncoderSetup &Setup) const;
  double In(const TEncoderSetup &Setup) const;
};

// All six, channel A's gain, offset and phase first.
const std::vector<TChannelParameter> &ChannelParameters();
// The parameter of that name; false for any other name.
bool FindChannelParameter(const std::string &Name, TChannelParameter &Parameter);
// "gain", "offset" or "phase".
const char *KindName(TParameterKind Kind);

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
