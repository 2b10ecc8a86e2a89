#ifndef RUNMODES_H
#define RUNMODES_H

class QIODevice;
struct TReportConfig;

// One run of each mode, from a checked configuration. Each returns the
// exit status: 0; 1 for a counter that did not return, a study with a
// failing trial or a failing check of --limits (output still complete); 3
// for an undecided check; 2 for an input error or an
// output that cannot be written (Out empty, no file changed); 130 for a
// study stopped by Ctrl-C.
int RunEvaluationMode(const TReportConfig &Config, QIODevice &Out, QIODevice &Err);
int RunSweepMode(const TReportConfig &Config, QIODevice &Out, QIODevice &Err);
int RunCaptureMode(const TReportConfig &Config, QIODevice &Out, QIODevice &Err);
int RunAcquireMode(const TReportConfig &Config, QIODevice &Out, QIODevice &Err);
int RunStudyMode(const TReportConfig &Config, QIODevice &Out, QIODevice &Err);
int RunMergeMode(const TReportConfig &Config, QIODevice &Out, QIODevice &Err);

#endif
