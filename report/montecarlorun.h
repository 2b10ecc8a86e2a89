#ifndef MONTECARLORUN_H
#define MONTECARLORUN_H

class QIODevice;
struct TReportOptions;

// Runs a --monte-carlo study or a --merge of shards and writes its output
// and plot. Returns 0 when every trial passed, 1 when some trial lost
// counts or exceeded the limit, 2 for an input error (Out empty, no file
// changed), 130 when Ctrl-C stopped the study (the output covers the
// trials completed, marked partial).
int RunMonteCarlo(const TReportOptions &Options, QIODevice &Out, QIODevice &Err);

#endif
