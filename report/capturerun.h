#ifndef CAPTURERUN_H
#define CAPTURERUN_H

class QIODevice;
class TOutputTransaction;
struct TCaptureReport;
struct TReportConfig;

// What --capture and --acquire report of a fitted capture: Report holds
// the capture and its analysis; the simulation of its model, the limits'
// verdicts, the plots and the text follow, written through Output in one
// transaction, whose files (the plots', the table's) the caller opened. Offsets that the source
// could not measure leave their checks undecided. Returns the exit status.
int ReportCapture(const TReportConfig &Config, TCaptureReport &Report, TOutputTransaction &Output,
                  QIODevice &Err, bool OffsetsMeasured = true);

#endif
