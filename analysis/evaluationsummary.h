#ifndef EVALUATIONSUMMARY_H
#define EVALUATIONSUMMARY_H

#include "correction.h"
#include "encodersetup.h"
#include "errorunits.h"
#include "interpolationerror.h"

// Minimum and maximum of the table's error column over one pass, in mm.
struct TPassStatistics
{
  double Min = 0.0;
  double Max = 0.0;
  double PeakToPeak() const { return Max - Min; }
};

// Everything the summary and the JSON show of one setup.
struct TEvaluationSummary
{
  TEncoderSetup Setup;
  int Count = 0;
  bool CountError = false;
  long CounterForward = 0;  // in counts
  long CounterReturn = 0;
  TPassStatistics Forward, Return;
  TInterpolationError Error;
  TFirstOrderEstimate Estimate;
  // What calibrating offsets, gains and phase would leave.
  TCorrection Correction;
  // Each channel's largest magnitude before the limit; above one it clips.
  double Peak[2] = {0.0, 0.0};

  double CountSize() const { return Setup.Pitch / Count; }
  TErrorUnits InUnits(double Rad) const { return InErrorUnits(Rad, Count, Setup.Pitch); }
  double InMm(double Rad) const { return RadToMm(Rad, Setup.Pitch); }
  // The table's error peak-to-peak over both passes, in mm.
  double TablePeakToPeak() const;
};

// Table: how the correction's look-up table is made.
TEvaluationSummary Summarize(const TEncoderSetup &Setup, const TEvaluation &Evaluation,
                             const TTableSettings &Table = {});

#endif
