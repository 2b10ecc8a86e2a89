#ifndef CAPTURERUN_H
#define CAPTURERUN_H

class QIODevice;
class QString;
class TOutputTransaction;
struct TCaptureReport;
struct TCaptureView;
struct TReportConfig;

// The files of a capture's plots, protocol and correction table; null
// where not asked for.
struct TCaptureOutputs
{
  QIODevice *Plot = nullptr;
  QIODevice *Scope = nullptr;
  QIODevice *Protocol = nullptr;
  QIODevice *Table = nullptr;
};

// Opens them in Output, which says whether that failed.
TCaptureOutputs OpenCaptureOutputs(const TReportConfig &Config, TOutputTransaction &Output);

// What --capture and --acquire report of a fitted capture: Report holds
// the capture and its analysis; the simulation of its model, the limits'
// verdicts, the plots, the table, the protocol and the text follow, written
// through Output in one transaction with whatever else it holds, Files among it. Offsets that the
// source could not measure leave their checks undecided. Returns the exit status.
int ReportCapture(const TReportConfig &Config, TCaptureReport &Report, TOutputTransaction &Output,
                  const TCaptureOutputs &Files, QIODevice &Err, bool OffsetsMeasured = true);

// How the report names the capture at Path: "-" is standard input.
QString CaptureName(const QString &Path);

// --capture once the capture is in memory, its reference subtracted:
// fits it and reports it under Name as ReportCapture does. Returns the
// exit status.
int ReportCaptureSamples(const TReportConfig &Config, const TCaptureView &Capture,
                         const QString &Name, TOutputTransaction &Output,
                         const TCaptureOutputs &Files, QIODevice &Err);

#endif
