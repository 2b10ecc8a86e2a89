#ifndef SETUPPARAMETERS_H
#define SETUPPARAMETERS_H

#include <string>
#include <vector>

#include "encodersetup.h"
#include "parameterranges.h"

// The part of a setup a parameter belongs to.
enum class TParameterPart
{
  Scale,    // pitch and resolution, any positive value
  Channel,  // a channel's gain, offset or phase
  Signal,   // the waveform's third harmonic and the noise
  // The K of the waveform's other harmonic orders: swept and toleranced
  // by name, set with the order's phase through one option of them all.
  Harmonic,
};

// One real-valued parameter of a setup and all that is said of it: the
// options, their help, sweeps, tolerances, the JSON files, the capture's
// range checks and the window's boxes take it from here. The ADC's bits
// and the noise's seed are whole numbers and stay with their options.
struct TSetupParameter
{
  const char *Name;   // option, sweep and tolerance: "gain-a"
  const char *Key;    // JSON and the window's box: "gain_a"
  const char *Label;  // the window's: "Gain"
  const char *Unit;   // "mm", "rad" or "" for the channels' units
  TParameterPart Part;
  int Channel;  // 0 (A, sine) or 1 (B, cosine); -1 outside the channels
  // A scale parameter's range holds any positive value.
  const TParameterRange *Range;
  bool Sweeps;
  bool Toleranced;
  // --help's name of the value and its sentence, where %1 stands for the
  // range or, for the scale, the default.
  const char *ValueName;
  const char *Help;
  double &(*Reach)(TEncoderSetup &);

  double &In(TEncoderSetup &Setup) const { return Reach(Setup); }
  double In(const TEncoderSetup &Setup) const;
  // A channel parameter's quantity, which names both channels' at once:
  // "gain" of "gain-a".
  std::string Quantity() const;
};

// Every parameter, in the order --help lists them: the scale, each
// quantity of channel A then B, the signal.
const std::vector<TSetupParameter> &SetupParameters();
// The six channel parameters channel by channel, A's gain, offset and
// phase first: the order of the study's draws, its CSV columns and a
// command line that reproduces a setup.
const std::vector<const TSetupParameter *> &ChannelParameters();
// The parameter of that option name; null for any other name.
const TSetupParameter *FindSetupParameter(const std::string &Name);
// One the caller knows to exist.
const TSetupParameter &SetupParameter(const std::string &Name);

#endif
