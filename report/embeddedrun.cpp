#include "embeddedrun.h"

#include <QBuffer>

#include "capture.h"
#include "capturerun.h"
#include "outputtransaction.h"
#include "runmodes.h"

namespace {

// The report's own line is "vantrel-report: MESSAGE"; the caller has
// its own way of naming where a message comes from.
QString ProblemOf(const QByteArray &Err)
{
  QString text = QString::fromUtf8(Err).section('\n', 0, 0);
  const int colon = text.indexOf(": ");
  return colon < 0 ? text : text.mid(colon + 2);
}

template <typename TRun>
TEmbeddedRun Run(TRun RunMode)
{
  QByteArray out, err;
  QBuffer out_device(&out), err_device(&err);
  out_device.open(QIODevice::WriteOnly);
  err_device.open(QIODevice::WriteOnly);
  TEmbeddedRun run;
  run.Status = RunMode(out_device, err_device);
  if (out.isEmpty())
    run.Problem = ProblemOf(err);
  else
    run.Json = out;
  return run;
}

}  // namespace

QString ReadEmbeddedOptions(QStringList Arguments, TReportMode Mode, TReportConfig &Config)
{
  Arguments << "--format"
            << "json";
  const TParsedCommandLine command = ParseCommandLine(Arguments);
  if (command.Action == TParsedCommandLine::Error)
    return command.Message;
  if (command.Action != TParsedCommandLine::Run)
    return "--help, --version and --limits list print texts only";
  if (command.Config.Mode != Mode)
    return Mode == TReportMode::Capture ? "only the options of --capture go with a capture"
                                        : "only the options of a simulation go with it";
  const TReportConfig &config = command.Config;
  for (const QString &path : {config.OutputPath, config.PlotPath, config.ScopePath,
                              config.ProtocolPath, config.TableOutPath})
    if (!path.isEmpty())
      return "--output, --plot, --scope, --protocol and --table-out write files; "
             "here the figures come back as values";
  Config = config;
  return QString();
}

TEmbeddedRun RunEmbeddedCapture(const TReportConfig &Config, const TCaptureView &Capture,
                                const QString &Name)
{
  return Run([&](QIODevice &Out, QIODevice &Err) {
    TOutputTransaction output(Out);
    output.OpenText(QString());
    return ReportCaptureSamples(Config, Capture, Name, output, TCaptureOutputs(), Err);
  });
}

TEmbeddedRun RunEmbeddedEvaluation(const TReportConfig &Config)
{
  return Run([&](QIODevice &Out, QIODevice &Err) { return RunEvaluationMode(Config, Out, Err); });
}
