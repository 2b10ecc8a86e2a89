#ifndef LIMITSOUTPUT_H
#define LIMITSOUTPUT_H

#include "options.h"

class QIODevice;

// After the output is written: the judgement's warnings on Err, and its
// verdicts in one line where Format has no room for the table. Returns
// the judgement's exit status.
int FinishJudgement(const TJudgement &Judgement, TReportFormat Format, QIODevice &Err);

#endif
