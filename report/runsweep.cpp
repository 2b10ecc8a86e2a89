// --sweep: one CSV row per value of one channel parameter.
#include <QIODevice>

#include "messages.h"
#include "options.h"
#include "outputtransaction.h"
#include "runmodes.h"
#include "setupplots.h"
#include "sweeptext.h"

int RunSweepMode(const TReportConfig &Config, QIODevice &Out, QIODevice &Err)
{
  TOutputTransaction output(Out);
  output.OpenText(Config.OutputPath);
  QIODevice *plot = output.OpenFile(Config.PlotPath);
  QIODevice *scope = output.OpenFile(Config.ScopePath);
  if (output.Failed())
    return Refuse(Err, output.Problem());

  const std::vector<TEvaluationSummary> summaries = RunSweep(Config.Setup, Config.Sweep);
  if (plot || scope) {
    const QString problem = DrawSetupPlots(Config, Evaluate(Config.Setup), plot, scope);
    if (!problem.isEmpty())
      return Refuse(Err, problem);
  }
  // Each row reports its own count check, so a lost count is no failure.
  const QString problem =
      output.Commit([&](QIODevice &Device) { WriteSweep(Device, Config.Sweep, summaries); });
  return problem.isEmpty() ? 0 : Refuse(Err, problem);
}
