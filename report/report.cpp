#include "report.h"

#include <QIODevice>

#include "limitstext.h"
#include "messages.h"
#include "options.h"
#include "outputtransaction.h"
#include "runmodes.h"
#include "vantrelversion.h"

namespace {

// Help and version go through the same checked writing as every report.
int WriteText(const QByteArray &Text, QIODevice &Out, QIODevice &Err)
{
  TOutputTransaction output(Out);
  const QString problem = output.Commit([&](QIODevice &Device) { Device.write(Text); });
  return problem.isEmpty() ? 0 : Refuse(Err, problem);
}

}  // namespace

int RunReport(const QStringList &Arguments, QIODevice &Out, QIODevice &Err)
{
  const TParsedCommandLine command = ParseCommandLine(Arguments);
  switch (command.Action) {
    case TParsedCommandLine::Help:
      return WriteText(command.HelpText.toUtf8(), Out, Err);
    case TParsedCommandLine::Version:
      return WriteText(QString("%1 %2\n").arg(ProgramName, VantrelVersion).toUtf8(), Out, Err);
    case TParsedCommandLine::ListLimits:
      return WriteText(LimitSetsText(), Out, Err);
    case TParsedCommandLine::Error:
      return Refuse(Err, command.Message);
    case TParsedCommandLine::Run:
      break;
  }
  const TReportConfig &config = command.Config;
  switch (config.Mode) {
    case TReportMode::Evaluation:
      return RunEvaluationMode(config, Out, Err);
    case TReportMode::Sweep:
      return RunSweepMode(config, Out, Err);
    case TReportMode::Capture:
      return RunCaptureMode(config, Out, Err);
    case TReportMode::Study:
      return RunStudyMode(config, Out, Err);
    case TReportMode::Merge:
      return RunMergeMode(config, Out, Err);
    case TReportMode::Acquire:
      return RunAcquireMode(config, Out, Err);
  }
  return 2;
}
