#include "limitsoutput.h"

#include "limitstext.h"
#include "messages.h"

int FinishJudgement(const TJudgement &Judgement, TReportFormat Format, QIODevice &Err)
{
  for (const QString &warning : JudgementWarnings(Judgement))
    WriteWarning(Err, warning);
  if (Format == TReportFormat::Table || Format == TReportFormat::Csv)
    WriteProblem(Err, JudgementLine(Judgement));
  return Judgement.Status();
}

int FinishTrialJudgement(const TStudyJudgement &Judgement, long Trials, TReportFormat Format,
                         QIODevice &Err)
{
  for (const QString &warning : JudgementWarnings(Judgement.Checks))
    WriteWarning(Err, warning);
  if (Format == TReportFormat::Csv)
    WriteProblem(Err, TrialJudgementLine(Judgement, Trials));
  return Judgement.Status();
}
