#include "protocoloutput.h"

#include "captureplot.h"
#include "checkedwriter.h"
#include "graphwidget.h"
#include "messages.h"
#include "options.h"
#include "plotfile.h"
#include "protocolbuild.h"
#include "setupplots.h"

namespace {

QString Write(const TReportConfig &Config, TProtocol &Protocol, QIODevice &Device)
{
  Protocol.Command = ShellCommand(ProgramName, Config.Arguments);
  if (WriteProtocol(Device, Protocol))
    return QString();
  auto *writer = dynamic_cast<TCheckedWriter *>(&Device);
  if (writer && writer->Failed())
    return CannotWrite(Config.ProtocolPath, writer->Finish());
  return QString("cannot draw %1").arg(Config.ProtocolPath);
}

}  // namespace

QString WriteSimulationProtocol(const TReportConfig &Config, const TEvaluation &Evaluation,
                                const TJudgement *Judgement, QIODevice &Device)
{
  const TEvaluationSummary summary = Summarize(Config.Setup, Evaluation, Config.Table);
  TProtocol protocol = SimulationProtocol(summary, Judgement);
  protocol.CorrectionTable = CorrectionTableSummary(summary);
  TGraphWidget figure, error, corrected;
  ShowScope(figure, ScopeChannel(Config.Setup, 0), ScopeChannel(Config.Setup, 1), true);
  ShowErrorGraph(error, Evaluation.Points);
  ShowCorrectedError(corrected, summary);
  protocol.Graphs = {{"Lissajous figure of the channels", &figure},
                     {"Interpolation error", &error},
                     {"Error after correction", &corrected}};
  return Write(Config, protocol, Device);
}

QString WriteCaptureProtocol(const TReportConfig &Config, const TCaptureReport &Report,
                             QIODevice &Device)
{
  TProtocol protocol = CaptureProtocol(Report);
  protocol.CorrectionTable = CorrectionTableSummary(Report.Simulation);
  if (Config.Mode == TReportMode::Acquire) {
    protocol.Source = "Acquisition " + Config.Acquire.Source;
  } else {
    protocol.Source = "Capture file " + Report.Name;
    if (Config.Capture.Path != "-")
      protocol.Sha256 = FileSha256(Config.Capture.Path);
  }
  TGraphWidget figure, error, corrected;
  ShowLissajous(figure, *Report.Capture, Report.Analysis);
  ShowMeasuredError(error, *Report.Capture, Report.Analysis,
                    Report.PitchGiven ? Config.Setup.Pitch : 0.0);
  ShowCorrectedError(corrected, Report.Simulation);
  protocol.Graphs = {{"Lissajous figure with the fitted ellipse", &figure},
                     {"Measured interpolation error", &error},
                     {"Error after correction, simulated from the fitted model", &corrected}};
  return Write(Config, protocol, Device);
}
