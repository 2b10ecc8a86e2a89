#ifndef CAPTURERUN_H
#define CAPTURERUN_H

class QIODevice;
struct TReportOptions;

// vantrel-report --capture: reads, fits and reports, with the program's
// exit statuses; warnings go to Err as lines of their own.
int RunCapture(const TReportOptions &Options, QIODevice &Out, QIODevice &Err);

#endif
