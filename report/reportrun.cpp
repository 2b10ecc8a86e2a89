#include "reportrun.h"

#include <QIODevice>
#include <memory>
#include <vector>

#include "capturerun.h"
#include "evaluationtext.h"
#include "graphwidget.h"
#include "montecarlorun.h"
#include "outputfile.h"
#include "plotfile.h"
#include "reportoptions.h"
#include "summarytext.h"
#include "sweep.h"
#include "sweeptext.h"

namespace {

const char *const ProgramName = "vantrel-report";
const char *const CountErrorMessage = "Scale count not zero on return";

// Every file is complete before any is committed, so an error leaves
// every target as it was.
class TOutputFiles
{
public:
  // Null for an empty path; on failure sets Message.
  QIODevice *Open(const QString &Path, QString &Message)
  {
    if (Path.isEmpty())
      return nullptr;
    d_files.push_back(std::make_unique<TOutputFile>(Path));
    Message = d_files.back()->Open();
    return &d_files.back()->Device();
  }
  QString CommitAll()
  {
    for (const auto &file : d_files) {
      QString message = file->Commit();
      if (!message.isEmpty())
        return message;
    }
    return QString();
  }

private:
  std::vector<std::unique_ptr<TOutputFile>> d_files;
};

void WriteText(QIODevice &Device, const TReportOptions &Options, const TEvaluation &Evaluation)
{
  if (Options.HasSweep) {
    WriteSweep(Device, Options.Sweep, RunSweep(Options.Setup, Options.Sweep));
    return;
  }
  switch (Options.Format) {
    case TReportFormat::Table:
      WriteTable(Device, Options.Setup, Evaluation);
      break;
    case TReportFormat::Csv:
      WriteCsv(Device, Evaluation);
      break;
    case TReportFormat::Summary:
      Device.write(SummaryText(Summarize(Options.Setup, Evaluation)));
      break;
    case TReportFormat::Json:
      Device.write(SummaryJson(Summarize(Options.Setup, Evaluation)));
      break;
  }
}

}  // namespace

int RunReport(const QStringList &Arguments, QIODevice &Out, QIODevice &Err)
{
  const TParsedCommandLine command = ParseCommandLine(Arguments);
  switch (command.Action) {
    case TParsedCommandLine::Help:
      Out.write(command.HelpText.toUtf8());
      return 0;
    case TParsedCommandLine::Version:
      Out.write(QString("%1 %2\n").arg(ProgramName, VANTREL_VERSION).toUtf8());
      return 0;
    case TParsedCommandLine::Error:
      WriteReportMessage(Err, command.Message);
      return 2;
    case TParsedCommandLine::Run:
      break;
  }
  const TReportOptions &options = command.Options;
  if (options.Capture.Active)
    return RunCapture(options, Out, Err);
  if (options.MonteCarlo.Enabled)
    return RunMonteCarlo(options, Out, Err);

  TOutputFiles files;
  QString message;
  QIODevice *output = files.Open(options.OutputPath, message);
  if (!message.isEmpty()) {
    WriteReportMessage(Err, message);
    return 2;
  }

  QIODevice *plot = files.Open(options.PlotPath, message);
  QIODevice *scope = message.isEmpty() ? files.Open(options.ScopePath, message) : nullptr;
  if (!message.isEmpty()) {
    WriteReportMessage(Err, message);
    return 2;
  }

  const TEvaluation evaluation = Evaluate(options.Setup);
  if (output)
    WriteText(*output, options, evaluation);
  if (plot || scope) {
    TGraphWidget graph;
    TPlotFormat format = TPlotFormat::Png;
    if (plot && PlotFormatForPath(options.PlotPath, format)) {
      ShowErrorGraph(graph, evaluation.Points);
      if (!WritePlot(graph, format, options.PlotSize, *plot))
        message = QString("cannot draw %1").arg(options.PlotPath);
    }
    if (scope && PlotFormatForPath(options.ScopePath, format)) {
      ShowScope(graph, options.Setup.Channel(0), options.Setup.Channel(1), options.ScopeXY);
      if (!WritePlot(graph, format, options.PlotSize, *scope))
        message = QString("cannot draw %1").arg(options.ScopePath);
    }
  }
  // Uncommitted files are discarded, leaving their targets as they were.
  if (!message.isEmpty()) {
    WriteReportMessage(Err, message);
    return 2;
  }
  message = files.CommitAll();
  if (!message.isEmpty()) {
    WriteReportMessage(Err, message);
    return 2;
  }
  if (!output)
    WriteText(Out, options, evaluation);

  // A sweep reports each value's count check in its own column.
  if (evaluation.CountError && !options.HasSweep) {
    WriteReportMessage(Err, CountErrorMessage);
    return 1;
  }
  return 0;
}

void WriteReportMessage(QIODevice &Err, const QString &Message)
{
  Err.write(QString("%1: %2\n").arg(ProgramName, Message).toUtf8());
}
