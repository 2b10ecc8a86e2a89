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
  std::vector<double> error(AngleCount);
  for (int k = 0; k < AngleCount; ++k) {
    double sine, cosine;
    correction.Ellipse.Corrected(Signals.A[k], Signals.B[k], sine, cosine);
    error[k] = WrappedAngle(TEncoderInterpolator::Angle(sine, cosine) - GridAngle(k));
  }
  correction.Error = GridErrorFigures(error);
  return correction;
}
