#include "correction.h"

#include <vector>

#include "angles.h"
#include "encoderinterpolator.h"

TCorrection CorrectGrid(const TGridSignals &Signals)
{
  TCorrection correction;
  correction.Problem = FitEllipse(Signals.A, Signals.B, correction.Ellipse);
  if (correction.Problem != TEllipseProblem::None)
    return correction;
  correction.Error = GridErrorFigures(CorrectedGridError(Signals, correction.Ellipse));
  return correction;
}

std::vector<double> CorrectedGridError(const TGridSignals &Signals, const TEllipse &Ellipse)
{
  std::vector<double> error(AngleCount);
  for (int k = 0; k < AngleCount; ++k) {
    double sine, cosine;
    Ellipse.Corrected(Signals.A[k], Signals.B[k], sine, cosine);
    error[k] = WrappedAngle(TEncoderInterpolator::Angle(sine, cosine) - GridAngle(k));
  }
  return error;
}
