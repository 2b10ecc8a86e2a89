#include "sweep.h"

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
    Sweep.Parameter->In(setup) = Sweep.Value(i);
    summaries.push_back(Summarize(setup, Evaluate(setup)));
  }
  return summaries;
}
