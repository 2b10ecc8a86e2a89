#include "correction.h"

#include <cmath>
#include <vector>

#include "angles.h"

TCorrection CorrectGrid(const TGridSignals &Signals, const TTableSettings &Settings)
{
  TCorrection correction;
  correction.Problem = FitEllipse(Signals.A, Signals.B, correction.Ellipse);
  if (correction.Problem != TEllipseProblem::None)
    return correction;
  const std::vector<double> error = CorrectedGridError(Signals, correction.Ellipse);
  correction.Error = GridErrorFigures(error);
  correction.Table = FitCorrectionTable(error, Settings);
  return correction;
}

std::vector<double> CorrectedGridError(const TGridSignals &Signals, const TEllipse &Ellipse)
{
  std::vector<double> error(AngleCount);
  for (int k = 0; k < AngleCount; ++k) {
    double sine, cosine;
    Ellipse.Corrected(Signals.A[k], Signals.B[k], sine, cosine);
    error[k] = WrappedAngle(std::atan2(sine, cosine) - GridAngle(k));
  }
  return error;
}
