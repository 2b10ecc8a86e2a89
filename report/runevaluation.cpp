// The plain evaluation: the window's table, CSV, summary or JSON of one
// setup, with its error graph and oscilloscope view.
#include <QIODevice>
#include <optional>

#include "evaluationtext.h"
#include "fixedtexts.h"
#include "limitsoutput.h"
#include "limitstext.h"
#include "messages.h"
#include "options.h"
#include "outputtransaction.h"
#include "protocoloutput.h"
#include "runmodes.h"
#include "setupplots.h"
#include "summarytext.h"

namespace {

void WriteText(QIODevice &Device, const TReportConfig &Config, const TEvaluation &Evaluation,
               const TEvaluationSummary &Summary, const TJudgement *Judgement)
{
  switch (Config.Format) {
    case TReportFormat::Table:
      WriteTable(Device, Config.Setup, Evaluation);
      break;
    case TReportFormat::Csv:
      WriteCsv(Device, Evaluation);
      break;
    case TReportFormat::Summary:
      Device.write(SummaryText(Summary));
      if (Judgement)
        Device.write(ChecksText(*Judgement).toUtf8());
      break;
    case TReportFormat::Json:
      Device.write(SummaryJson(Summary, Judgement));
      break;
  }
}

}  // namespace

int RunEvaluationMode(const TReportConfig &Config, QIODevice &Out, QIODevice &Err)
{
  TOutputTransaction output(Out);
  output.OpenText(Config.OutputPath);
  QIODevice *plot = output.OpenFile(Config.PlotPath);
  QIODevice *scope = output.OpenFile(Config.ScopePath);
  QIODevice *table = output.OpenFile(Config.TableOutPath);
  QIODevice *protocol = output.OpenFile(Config.ProtocolPath);
  if (output.Failed())
    return Refuse(Err, output.Problem());

  const TEvaluation evaluation = Evaluate(Config.Setup);
  const TEvaluationSummary summary = Summarize(Config.Setup, evaluation, Config.Table);
  std::optional<TJudgement> judgement;
  if (Config.Limits)
    judgement = JudgeLimits(*Config.Limits, SimulationQuantities(summary), NoValue);
  if (table)
    WriteTableCsv(*table, summary.Correction.Table);
  QString problem = DrawSetupPlots(Config, evaluation, plot, scope);
  if (problem.isEmpty() && protocol)
    problem =
        WriteSimulationProtocol(Config, evaluation, judgement ? &*judgement : nullptr, *protocol);
  if (!problem.isEmpty())
    return Refuse(Err, problem);
  problem = output.Commit([&](QIODevice &Device) {
    WriteText(Device, Config, evaluation, summary, judgement ? &*judgement : nullptr);
  });
  if (!problem.isEmpty())
    return Refuse(Err, problem);
  for (const QString &warning : SimulationWarnings(summary))
    WriteWarning(Err, warning);
  if (evaluation.CountError) {
    WriteProblem(Err, CountErrorMessage);
    return 1;
  }
  return judgement ? FinishJudgement(*judgement, Config.Format, Err) : 0;
}
