#include "evaluationsummary.h"

#include <algorithm>

#include "signalchain.h"

namespace {

TPassStatistics PassStatistics(std::vector<TVector2>::const_iterator Begin,
                               std::vector<TVector2>::const_iterator End)
{
  const auto [low, high] = std::minmax_element(
      Begin, End, [](const TVector2 &a, const TVector2 &b) { return a.y < b.y; });
  return {low->y, high->y};
}

}  // namespace

double TEvaluationSummary::TablePeakToPeak() const
{
  return std::max(Forward.Max, Return.Max) - std::min(Forward.Min, Return.Min);
}

TEvaluationSummary Summarize(const TEncoderSetup &Setup, const TEvaluation &Evaluation,
                             const TTableSettings &Table)
{
  TEvaluationSummary summary;
  summary.Setup = Setup;
  summary.Count = Evaluation.Count;
  summary.CountError = Evaluation.CountError;
  summary.CounterForward = Evaluation.CounterForward;
  summary.CounterReturn = Evaluation.CounterReturn;
  const auto middle = Evaluation.Points.begin() + Evaluation.ForwardSize();
  summary.Forward = PassStatistics(Evaluation.Points.begin(), middle);
  summary.Return = PassStatistics(middle, Evaluation.Points.end());
  const TGridSignals signals = GridSignals(Setup);
  summary.Error = ComputeInterpolationError(signals);
  summary.Correction = CorrectGrid(signals, Table);
  summary.Estimate = EstimateInterpolationError(Setup);
  for (int c = 0; c < 2; ++c)
    summary.Peak[c] = PeakBeforeLimit(Setup, c);
  return summary;
}
