// --acquire: frames from an instrument, each fitted as a capture; the last
// is reported as --capture reports a file, with how the fits repeated.
#include <QIODevice>

#include "capturerun.h"
#include "capturetext.h"
#include "framecapture.h"
#include "framesave.h"
#include "framesource.h"
#include "interrupthandler.h"
#include "messages.h"
#include "options.h"
#include "outputtransaction.h"
#include "repeatability.h"
#include "runmodes.h"

int RunAcquireMode(const TReportConfig &Config, QIODevice &Out, QIODevice &Err)
{
  TOutputTransaction output(Out);
  output.OpenText(Config.OutputPath);
  const TCaptureOutputs files = OpenCaptureOutputs(Config, output);
  QIODevice *save = output.OpenFile(Config.Acquire.SavePath);
  if (output.Failed())
    return Refuse(Err, output.Problem());

  const TAcquireConfig &acquire = Config.Acquire;
  const TCaptureConfig &options = Config.Capture;
  std::string problem;
  const std::unique_ptr<TFrameSource> source =
      MakeFrameSource(acquire.Source.toStdString(), problem);
  if (!source || !source->Open(problem))
    return Refuse(Err, QString::fromStdString(problem));
  TCaptureReport report;
  report.Name = acquire.Source;
  report.Instrument = QString::fromStdString(source->Identity());
  WriteProblem(Err, QString("%1 is %2").arg(acquire.Source, report.Instrument));
  for (const std::string &note : source->Notes())
    WriteWarning(Err, QString::fromStdString(note));

  // Ctrl-C ends the frame in hand and reports the frames so far.
  const TInterruptHandler handler;
  TRepeatability repeatability;
  TCapture raw, capture;
  for (long k = 0; k < acquire.Frames && !Interrupted; ++k) {
    TFrame frame;
    if (!source->Next(frame, problem))
      return Refuse(Err, QString::fromStdString(problem));
    capture = FrameCapture(std::move(frame));
    // --save writes the samples as they came: before the reference level
    // is taken off, and copied only when one is.
    const double *zero = options.Options.Zero;
    if (save && (zero[0] != 0.0 || zero[1] != 0.0))
      raw = capture;
    SubtractReference(capture, zero[0], zero[1]);
    report.Analysis = TCaptureAnalysis();
    const TCaptureProblem fault =
        AnalyseCapture(capture, Config.Setup, options.Amplitude, report.Analysis);
    if (fault.Kind != TCaptureProblem::None)
      return Refuse(Err, QString("%1, frame %2: %3")
                             .arg(acquire.Source)
                             .arg(k + 1)
                             .arg(CaptureProblemText(fault)));
    repeatability.Add(report.Analysis);
  }
  if (repeatability.Count() == 0) {
    WriteProblem(Err, "stopped by Ctrl-C before the first frame");
    return InterruptedStatus;
  }
  report.Capture = capture;
  report.Frames = &repeatability;
  if (save)
    WriteSavedFrame(*save, raw.Size() > 0 ? raw : capture, acquire.Source, report.Instrument);
  const int status = ReportCapture(Config, report, output, files, Err, source->MeasuresOffsets());
  if (Interrupted && status != 2) {
    WriteProblem(Err, QString("stopped by Ctrl-C after %1 of %2 frames")
                          .arg(repeatability.Count())
                          .arg(acquire.Frames));
    return InterruptedStatus;
  }
  return status;
}
