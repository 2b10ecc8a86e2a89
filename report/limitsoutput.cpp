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
