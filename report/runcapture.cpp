// --capture: fits a measured channel pair and reports what its signals
// cost the interpolator.
#include <QIODevice>
#include <optional>

#include "capturerun.h"

#include "captureplot.h"
#include "capturereader.h"
#include "capturetext.h"
#include "fixedtexts.h"
#include "graphwidget.h"
#include "limitsoutput.h"
#include "messages.h"
#include "options.h"
#include "outputtransaction.h"
#include "plotoutput.h"
#include "protocoloutput.h"
#include "runmodes.h"

namespace {

void WriteText(QIODevice &Device, TReportFormat Format, const TCaptureReport &Report)
{
  if (Format == TReportFormat::Csv)
    WriteCaptureCsv(Device, Report);
  else if (Format == TReportFormat::Json)
    Device.write(CaptureSummaryJson(Report));
  else
    Device.write(CaptureSummaryText(Report));
}

}  // namespace

QString CaptureName(const QString &Path)
{
  return Path == "-" ? "standard input" : Path;
}

TCaptureOutputs OpenCaptureOutputs(const TReportConfig &Config, TOutputTransaction &Output)
{
  TCaptureOutputs files;
  files.Plot = Output.OpenFile(Config.PlotPath);
  files.Scope = Output.OpenFile(Config.ScopePath);
  files.Protocol = Output.OpenFile(Config.ProtocolPath);
  files.Table = Output.OpenFile(Config.TableOutPath);
  return files;
}

int ReportCapture(const TReportConfig &Config, TCaptureReport &Report, TOutputTransaction &Output,
                  const TCaptureOutputs &Files, QIODevice &Err, bool OffsetsMeasured)
{
  const TCaptureConfig &options = Config.Capture;
  Report.PitchGiven = options.PitchGiven;
  Report.ResolutionGiven = options.ResolutionGiven;
  Report.Simulation =
      Summarize(Report.Analysis.Model, Evaluate(Report.Analysis.Model), Config.Table);
  std::optional<TJudgement> judgement;
  if (Config.Limits) {
    // The signal frequency comes with the capture's time column; NaN
    // without one.
    const double frequency = Report.Analysis.Motion.MaxFrequency;
    judgement = JudgeLimits(
        *Config.Limits, CaptureQuantities(Report.Analysis, frequency, OffsetsMeasured), frequency);
    Report.Judgement = &*judgement;
  }

  QString message;
  const TCaptureView &capture = *Report.Capture;
  if (Files.Plot) {
    TGraphWidget graph;
    ShowMeasuredError(graph, capture, Report.Analysis,
                      Report.PitchGiven ? Config.Setup.Pitch : 0.0);
    message = DrawPlot(graph, Config.PlotPath, Config.PlotSize, *Files.Plot);
  }
  if (message.isEmpty() && Files.Scope) {
    TGraphWidget graph;
    ShowLissajous(graph, capture, Report.Analysis);
    message = DrawPlot(graph, Config.ScopePath, Config.PlotSize, *Files.Scope);
  }
  if (message.isEmpty() && Files.Table)
    WriteTableCsv(*Files.Table, Report.Simulation.Correction.Table);
  if (message.isEmpty() && Files.Protocol)
    message = WriteCaptureProtocol(Config, Report, *Files.Protocol);
  if (message.isEmpty())
    message = Output.Commit([&](QIODevice &Device) { WriteText(Device, Config.Format, Report); });
  if (!message.isEmpty())
    return Refuse(Err, message);
  for (const TCaptureWarning &warning : Report.Analysis.Warnings)
    WriteWarning(Err, CaptureWarningText(warning));
  // Figures of a raw pair that never turns round would mislead.
  if (!Report.Analysis.MeasuredValid)
    return 1;
  if (Report.Simulation.CountError) {
    WriteProblem(Err, QString(CountErrorMessage) + " (simulation of the model parameters)");
    return 1;
  }
  return judgement ? FinishJudgement(*judgement, Config.Format, Err) : 0;
}

int ReportCaptureSamples(const TReportConfig &Config, const TCaptureView &Capture,
                         const QString &Name, TOutputTransaction &Output,
                         const TCaptureOutputs &Files, QIODevice &Err)
{
  TCaptureReport report;
  report.Name = Name;
  report.Capture = Capture;
  const TCaptureProblem problem =
      AnalyseCapture(Capture, Config.Setup, Config.Capture.Amplitude, report.Analysis);
  if (problem.Kind != TCaptureProblem::None)
    return Refuse(Err, QString("%1: %2").arg(Name, CaptureProblemText(problem)));
  return ReportCapture(Config, report, Output, Files, Err);
}

int RunCaptureMode(const TReportConfig &Config, QIODevice &Out, QIODevice &Err)
{
  TOutputTransaction output(Out);
  output.OpenText(Config.OutputPath);
  const TCaptureOutputs files = OpenCaptureOutputs(Config, output);
  if (output.Failed())
    return Refuse(Err, output.Problem());

  const TCaptureConfig &options = Config.Capture;
  TCapture capture;
  std::string read_problem;
  if (!ReadCaptureFile(options.Path.toStdString(), options.Options.Read, capture, read_problem))
    return Refuse(Err, QString::fromStdString(read_problem));
  SubtractReference(capture, options.Options.Zero[0], options.Options.Zero[1]);
  return ReportCaptureSamples(Config, capture, CaptureName(options.Path), output, files, Err);
}
