#ifndef REPORTSUMMARY_H
#define REPORTSUMMARY_H

#include <QByteArray>

#include "interpolationerror.h"
#include "reportsetup.h"

// Minimum and maximum of the table's error column over one pass, in mm.
struct TPassStatistics
{
  double Min = 0.0;
  double Max = 0.0;
  double PeakToPeak() const { return Max - Min; }
};

// An angle error in radians expressed in the other units an engineer
// sizes a signal chain in.
struct TErrorUnits
{
  double Rad, Deg, PercentPeriod, Counts, Mm;
};

// Everything the summary and the JSON show.
struct TReportSummary
{
  TReportSetup Setup;
  int Count = 0;
  bool CountError = false;
  long CounterForward = 0;  // in counts
  long CounterReturn = 0;
  TPassStatistics Forward, Return;
  TInterpolationError Error;
  TFirstOrderEstimate Estimate;

  double CountSize() const { return Setup.Pitch / Count; }
  // One signal period is one pitch.
  TErrorUnits InUnits(double Rad) const;
  double InMm(double Rad) const;
  static double InPercentPeriod(double Rad);
};

TReportSummary Summarize(const TReportSetup &Setup, const TEvaluation &Evaluation);

QByteArray SummaryText(const TReportSummary &Summary);
QByteArray SummaryJson(const TReportSummary &Summary);

#endif
