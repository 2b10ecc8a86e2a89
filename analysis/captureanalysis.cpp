#include "captureanalysis.h"

#include <algorithm>
#include <cmath>

#include "angles.h"
#include "encoderinterpolator.h"
#include "errorsamples.h"

double TCaptureAnalysis::RawAngle(double A, double B) const
{
  return TEncoderInterpolator::Angle(A / Scale, B / Scale);
}

double TCaptureAnalysis::CorrectedAngle(double A, double B) const
{
  double sine, cosine;
  Ellipse.Corrected(A, B, sine, cosine);
  const double angle = std::atan2(sine, cosine);
  return angle < 0.0 ? angle + TwoPi : angle;
}

TCaptureProblem AnalyseCapture(const TCapture &Capture, const TEncoderSetup &Base, double Amplitude,
                               TCaptureAnalysis &Analysis)
{
  TCaptureProblem problem;
  const std::size_t n = Capture.Size();
  if (n < MinimumCaptureRows) {
    problem.Kind = TCaptureProblem::TooFewRows;
    problem.Rows = n;
    return problem;
  }
  TEllipse &ellipse = Analysis.Ellipse;
  problem.Ellipse = FitEllipse(Capture.A, Capture.B, ellipse);
  if (problem.Ellipse != TEllipseProblem::None) {
    problem.Kind = TCaptureProblem::NoEllipse;
    return problem;
  }

  // Corrected pairs, the error and the unwrapped angle in one pass.
  const double peak[2] = {std::fabs(ellipse.OffsetA) + ellipse.AmplitudeA,
                          std::fabs(ellipse.OffsetB) + ellipse.AmplitudeB};
  Analysis.Scale = Amplitude > 0.0 ? Amplitude : std::max(peak[0], peak[1]);
  // The angles are uneven: the harmonics by least squares. Cosine and
  // sine of each angle come from the corrected pair, so no trigonometry
  // runs per sample.
  TErrorSamples<TErrorFigures::All> errors(TAngleSpacing::Uneven);
  double unwrapped = 0.0, low = 0.0, high = 0.0, previous = 0.0;
  double residual = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    double sine, cosine;
    ellipse.Corrected(Capture.A[i], Capture.B[i], sine, cosine);
    const double radius = std::hypot(sine, cosine);
    residual += (radius - 1.0) * (radius - 1.0);
    const double angle = std::atan2(sine, cosine);
    if (i > 0) {
      unwrapped += WrappedAngle(angle - previous);
      low = std::min(low, unwrapped);
      high = std::max(high, unwrapped);
    }
    previous = angle;
    const double error = WrappedAngle(Analysis.RawAngle(Capture.A[i], Capture.B[i]) - angle);
    errors.Add(radius > 0.0 ? THarmonicAngle::FromCosSin(cosine / radius, sine / radius)
                            : THarmonicAngle::FromCosSin(1.0, 0.0),
               error);
  }
  Analysis.Periods = (high - low) / TwoPi;
  if (!(Analysis.Periods >= 0.25)) {
    problem.Kind = TCaptureProblem::ShortSweep;
    problem.Periods = Analysis.Periods;
    return problem;
  }
  Analysis.Measured = errors.Result();
  Analysis.ResidualPercent = 100.0 * std::sqrt(residual / n);

  TEncoderSetup &model = Analysis.Model;
  model = Base;
  model.Gain[0] = ellipse.AmplitudeA / Analysis.Scale;
  model.Gain[1] = ellipse.AmplitudeB / Analysis.Scale;
  model.Offset[0] = ellipse.OffsetA / Analysis.Scale;
  model.Offset[1] = ellipse.OffsetB / Analysis.Scale;
  model.Phase[0] = ellipse.Phase;
  model.Phase[1] = 0.0;

  std::vector<TCaptureWarning> &warnings = Analysis.Warnings;
  if (Analysis.Periods < 1.0)
    warnings.push_back({TCaptureWarning::ShortCoverage, Analysis.Periods, 0, {}});
  for (int c = 0; c < 2; ++c)
    if (peak[c] > Analysis.Scale)
      warnings.push_back({TCaptureWarning::Clips, peak[c] / Analysis.Scale, c, {}});
  // B's phase is the reference, 0 by construction.
  for (const TParameterKind kind :
       {TParameterKind::Gain, TParameterKind::Offset, TParameterKind::Phase})
    for (int c = 0; c < (kind == TParameterKind::Phase ? 1 : 2); ++c) {
      const TChannelParameter parameter{kind, c};
      if (!parameter.Range().Contains(parameter.In(model)))
        warnings.push_back({TCaptureWarning::OutOfRange, parameter.In(model), c, parameter});
    }
  return problem;
}
