#ifndef LIMITSOUTPUT_H
#define LIMITSOUTPUT_H

#include "options.h"
#include "studylimits.h"

class QIODevice;

// After the output is written: the judgement's warnings on Err, and its
// verdicts in one line where Format has no room for the table. Returns
// the judgement's exit status.
int FinishJudgement(const TJudgement &Judgement, TReportFormat Format, QIODevice &Err);
// The same for a study's Trials.
int FinishTrialJudgement(const TStudyJudgement &Judgement, long Trials, TReportFormat Format,
                         QIODevice &Err);

#endif
