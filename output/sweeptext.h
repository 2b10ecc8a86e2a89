#ifndef SWEEPTEXT_H
#define SWEEPTEXT_H

#include "sweep.h"

class QIODevice;

// One CSV row per swept value, after a header: the value, count_error
// (0/1), the interpolation error's peak-to-peak and largest magnitude in
// mm and in % of the period, harmonics 1 and 2 in mm, and the table's
// error peak-to-peak in mm.
void WriteSweep(QIODevice &Device, const TSweep &Sweep,
                const std::vector<TEvaluationSummary> &Summaries);

#endif
