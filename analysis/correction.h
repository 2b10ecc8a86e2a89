#ifndef CORRECTION_H
#define CORRECTION_H

#include "correctiontable.h"
#include "ellipsefit.h"
#include "interpolationerror.h"

#include <vector>

// What an interpolator's offset, gain and phase calibration finds in a
// setup's signals and what error it leaves.
struct TCorrection
{
  // None when the grid's values trace an ellipse; else the rest is unset.
  TEllipseProblem Problem = TEllipseProblem::None;
  // The calibration's coefficients, in the channels' units; Phase is
  // channel A's phase error against B.
  TEllipse Ellipse;
  // The corrected pair's angle less the grid angle. Its mean is B's
  // phase, which no calibration can see.
  TInterpolationError Error;
  // The look-up table that corrects what the ellipse leaves.
  TCorrectionTable Table;
};

// Fits the ellipse to the values at the grid angles, as a capture's, and
// measures the corrected angle against the grid angles, then the table
// of Settings against the same. The corrected pair is not limited to
// +-1 before its angle is taken: a chip corrects in its own number range,
// where a distorted waveform may reach beyond the ellipse.
TCorrection CorrectGrid(const TGridSignals &Signals, const TTableSettings &Settings = {});
// The corrected angle less the grid angle at each of the AngleCount angles.
std::vector<double> CorrectedGridError(const TGridSignals &Signals, const TEllipse &Ellipse);

#endif
