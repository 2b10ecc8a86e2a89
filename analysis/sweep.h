#ifndef SWEEP_H
#define SWEEP_H

#include <string>
#include <vector>

#include "encodersetup.h"
#include "evaluationsummary.h"
#include "setupparameters.h"

// One parameter that sweeps, stepped through evenly spaced values.
struct TSweep
{
  const TSetupParameter *Parameter = nullptr;
  double From = 0.0;
  double To = 0.0;
  int Steps = 0;

  // Value number Index of 0 ... Steps - 1; both ends exact.
  double Value(int Index) const;
};

// The summary of Base with the swept parameter at each value in turn.
std::vector<TEvaluationSummary> RunSweep(const TEncoderSetup &Base, const TSweep &Sweep);

#endif
