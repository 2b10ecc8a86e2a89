#include "studylimits.h"

#include <cassert>

int TStudyJudgement::Status() const
{
  return VerdictStatus(FailingTrials > 0, UndecidedTrials > 0);
}

TStudyJudgement JudgeTrials(const TLimitSet &Set, const TStudySetup &Study, const TShard &Shard,
                            const TFigureList &Figures)
{
  TStudyJudgement judgement;
  // No trial knows its signal frequency, so each is judged by the same
  // bands.
  judgement.Checks = JudgeLimits(Set, TSignalQuantities(), NoValue);
  std::vector<TCheck> &checks = judgement.Checks.Checks;
  judgement.Counts.resize(checks.size());
  for (std::size_t j = 0; j < Figures.size(); ++j) {
    const TEncoderSetup setup = DrawTrial(Study, Shard.TrialIndex(static_cast<long>(j))).Setup;
    const TSignalQuantities quantities = SetupQuantities(setup, Figures[j].PeakToPeak / 2.0);
    bool failed = false, undecided = false;
    for (std::size_t i = 0; i < checks.size(); ++i) {
      const TCheck &check = checks[i];
      assert(check.Band);  // without a frequency every check has one
      const TJudgedValue &value = quantities[static_cast<std::size_t>(check.Quantity)];
      const TVerdict verdict = JudgeValue(value, check.Band->Low, check.Band->High);
      TCheckCounts &counts = judgement.Counts[i];
      ++(verdict == TVerdict::Pass   ? counts.Pass
         : verdict == TVerdict::Fail ? counts.Fail
                                     : counts.Undecided);
      failed = failed || verdict == TVerdict::Fail;
      undecided = undecided || verdict == TVerdict::Undecided;
    }
    judgement.FailingTrials += failed;
    judgement.UndecidedTrials += !failed && undecided;
  }
  return judgement;
}
