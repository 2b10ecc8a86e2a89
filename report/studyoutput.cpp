#include "studyoutput.h"

#include <QIODevice>

#include "graphwidget.h"
#include "interrupthandler.h"
#include "limitsoutput.h"
#include "messages.h"
#include "options.h"
#include "outputtransaction.h"
#include "plotoutput.h"
#include "studyplot.h"
#include "studytext.h"

namespace {

void WriteText(QIODevice &Device, TReportFormat Format, const TStudyResult &Result)
{
  if (Format == TReportFormat::Csv)
    WriteStudyCsv(Device, Result);
  else if (Format == TReportFormat::Json)
    Device.write(StudyJson(Result));
  else
    Device.write(StudySummaryText(Result));
}

}  // namespace

bool OpenStudyOutputs(const TReportConfig &Config, TOutputTransaction &Output, QIODevice *&Plot)
{
  Output.OpenText(Config.OutputPath);
  Plot = Output.OpenFile(Config.PlotPath);
  return !Output.Failed();
}

int FinishStudy(const TReportConfig &Config, const TStudyResult &Result, TOutputTransaction &Output,
                QIODevice *Plot, QIODevice &Err)
{
  if (Plot) {
    TGraphWidget graph;
    ShowHistogram(graph, Result.Figures, Result.Study);
    const QString problem = DrawPlot(graph, Config.PlotPath, Config.PlotSize, *Plot);
    if (!problem.isEmpty())
      return Refuse(Err, problem);
  }
  const QString problem =
      Output.Commit([&](QIODevice &Device) { WriteText(Device, Config.Format, Result); });
  if (!problem.isEmpty())
    return Refuse(Err, problem);

  const TStudyStatistics &s = Result.Statistics;
  if (Result.Partial) {
    WriteProblem(Err, QString("interrupted after %1 of %2 trials")
                          .arg(s.Trials)
                          .arg(Result.Shard.Size(Result.Study.Trials)));
    return InterruptedStatus;
  }
  const int judged =
      Result.Judgement ? FinishTrialJudgement(*Result.Judgement, s.Trials, Config.Format, Err) : 0;
  if (s.CountErrors > 0 || s.OverLimit > 0) {
    WriteProblem(Err, QString("%1 of %2 trials lost counts, %3 exceeded the limit")
                          .arg(s.CountErrors)
                          .arg(s.Trials)
                          .arg(s.OverLimit));
    return 1;
  }
  return judged;
}
