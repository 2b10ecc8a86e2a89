#include "sweep.h"

std::string TSweep::Name() const
{
  switch (Target) {
    case TSweepTarget::Harmonic3:
      return "harmonic3";
    case TSweepTarget::Noise:
      return "noise";
    case TSweepTarget::Channel:
      break;
  }
  return Parameter.Name();
}

double &TSweep::In(TEncoderSetup &Setup) const
{
  switch (Target) {
    case TSweepTarget::Harmonic3:
      return Setup.Signal.Harmonic3;
    case TSweepTarget::Noise:
      return Setup.Signal.Noise;
    case TSweepTarget::Channel:
      break;
  }
  return Parameter.In(Setup);
}

double TSweep::Value(int Index) const
{
  if (Index == Steps - 1)
    return To;
  return From + (To - From) * Index / (Steps - 1);
}

std::vector<TEvaluationSummary> RunSweep(const TEncoderSetup &Base, const TSweep &Sweep)
{
  std::vector<TEvaluationSummary> summaries;
  summaries.reserve(Sweep.Steps);
  for (int i = 0; i < Sweep.Steps; ++i) {
    TEncoderSetup setup = Base;
    Sweep.In(setup) = Sweep.Value(i);
    summaries.push_back(Summarize(setup, Evaluate(setup)));
  }
  return summaries;
}
