#ifndef STUDYLIMITS_H
#define STUDYLIMITS_H

#include <vector>

#include "figurelist.h"
#include "signallimits.h"
#include "studyrun.h"

struct TCheckCounts
{
  long Pass = 0;
  long Fail = 0;
  long Undecided = 0;
};

// A study's trials judged against a set of limits, each exactly (u = 0).
struct TStudyJudgement
{
  // The checks with the bands they are judged by; their values mean
  // nothing here.
  TJudgement Checks;
  // Counts[i]: the trials' verdicts on Checks.Checks[i].
  std::vector<TCheckCounts> Counts;
  // Trials with a failing check, and with none failing but one undecided.
  long FailingTrials = 0;
  long UndecidedTrials = 0;

  // VerdictStatus of the trials.
  int Status() const;
};

// Figures[j] belongs to trial Shard.TrialIndex(j); Set must outlive the
// answer.
TStudyJudgement JudgeTrials(const TLimitSet &Set, const TStudySetup &Study, const TShard &Shard,
                            const TFigureList &Figures);

#endif
