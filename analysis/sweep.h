#ifndef SWEEP_H
#define SWEEP_H

#include <string>
#include <vector>

#include "encodersetup.h"
#include "evaluationsummary.h"

// What a sweep steps: one channel parameter or one figure of the signal.
enum class TSweepTarget
{
  Channel,    // Parameter
  Harmonic3,  // the waveform's third harmonic
  Noise,      // the noise's standard deviation
};

// A channel parameter or a signal figure stepped through evenly spaced
// values.
struct TSweep
{
  TSweepTarget Target = TSweepTarget::Channel;
  TChannelParameter Parameter;
  double From = 0.0;
  double To = 0.0;
  int Steps = 0;

  // "gain-a", ..., "harmonic3" or "noise".
  std::string Name() const;
  // Where the swept value lives in a setup.
  double &In(TEncoderSetup &Setup) const;
  // Value number Index of 0 ... Steps - 1; both ends exact.
  double Value(int Index) const;
};

// The summary of Base with the swept parameter at each value in turn.
std::vector<TEvaluationSummary> RunSweep(const TEncoderSetup &Base, const TSweep &Sweep);

#endif
