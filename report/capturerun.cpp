#include "capturerun.h"

#include <QIODevice>
#include <memory>

#include "captureplot.h"
#include "capturetext.h"
#include "graphwidget.h"
#include "outputfile.h"
#include "plotfile.h"
#include "reportoptions.h"
#include "reportrun.h"

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

// Draws into a file written beside Path; empty when it is complete.
QString Plot(TGraphWidget &Graph, const QString &Path, const QSize &Size,
             std::unique_ptr<TOutputFile> &File)
{
  TPlotFormat format = TPlotFormat::Png;
  PlotFormatForPath(Path, format);
  File = std::make_unique<TOutputFile>(Path);
  QString message = File->Open();
  if (!message.isEmpty())
    return message;
  if (!WritePlot(Graph, format, Size, File->Device()))
    return QString("cannot draw %1").arg(Path);
  return QString();
}

}  // namespace

int RunCapture(const TReportOptions &Options, QIODevice &Out, QIODevice &Err)
{
  const TCaptureOptions &capture_options = Options.Capture;
  TCapture capture;
  TCaptureReport report;
  report.Name = capture_options.Path == "-" ? "standard input" : capture_options.Path;
  QString message;
  if (!ReadCaptureFile(capture_options.Path, capture_options.Read, capture, message)) {
    WriteReportMessage(Err, message);
    return 2;
  }
  report.Capture = &capture;
  const TCaptureProblem problem =
      AnalyseCapture(capture, Options.Setup, capture_options.Amplitude, report.Analysis);
  if (problem.Kind != TCaptureProblem::None) {
    WriteReportMessage(Err, QString("%1: %2").arg(report.Name, CaptureProblemText(problem)));
    return 2;
  }
  report.PitchGiven = capture_options.PitchGiven;
  report.ResolutionGiven = capture_options.ResolutionGiven;
  report.Simulation = Summarize(report.Analysis.Model, Evaluate(report.Analysis.Model));

  // Every file is complete before any is committed.
  std::unique_ptr<TOutputFile> output, plot, scope;
  if (!Options.OutputPath.isEmpty()) {
    output = std::make_unique<TOutputFile>(Options.OutputPath);
    message = output->Open();
    if (message.isEmpty())
      WriteText(output->Device(), Options.Format, report);
  }
  if (message.isEmpty() && !Options.PlotPath.isEmpty()) {
    TGraphWidget graph;
    ShowMeasuredError(graph, capture, report.Analysis,
                      report.PitchGiven ? Options.Setup.Pitch : 0.0);
    message = Plot(graph, Options.PlotPath, Options.PlotSize, plot);
  }
  if (message.isEmpty() && !Options.ScopePath.isEmpty()) {
    TGraphWidget graph;
    ShowLissajous(graph, capture, report.Analysis.Ellipse);
    message = Plot(graph, Options.ScopePath, Options.PlotSize, scope);
  }
  for (const auto *file : {&output, &plot, &scope})
    if (message.isEmpty() && *file)
      message = (*file)->Commit();
  if (!message.isEmpty()) {
    WriteReportMessage(Err, message);
    return 2;
  }
  if (!output)
    WriteText(Out, Options.Format, report);
  for (const TCaptureWarning &warning : report.Analysis.Warnings)
    WriteReportMessage(Err, "warning: " + CaptureWarningText(warning));
  if (report.Simulation.CountError) {
    WriteReportMessage(Err, "Scale count not zero on return (simulation of the model parameters)");
    return 1;
  }
  return 0;
}
