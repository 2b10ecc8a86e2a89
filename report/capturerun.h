#ifndef CAPTURERUN_H
#define CAPTURERUN_H

class QIODevice;
class TOutputTransaction;
struct TCaptureReport;
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

#endif
