#ifndef REPORTSWEEP_H
#define REPORTSWEEP_H

#include "reportoptions.h"

class QIODevice;

// One CSV row per swept value, after a header: the value, count_error
// (0/1), the interpolation error's peak-to-peak and largest magnitude in
// mm and in % of the period, harmonics 1 and 2 in mm, and the table's
// error peak-to-peak in mm. Base gives every other parameter.
void WriteSweep(QIODevice &Device, const TReportSetup &Base, const TSweep &Sweep);

#endif
