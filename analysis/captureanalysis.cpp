#include "captureanalysis.h"

#include <algorithm>
#include <cmath>

#include "angles.h"
#include "captureerror.h"
#include "encoderinterpolator.h"
#include "errorsamples.h"

namespace {

TCaptureWarning Warning(TCaptureWarning::TKind Kind, double Value = 0.0)
{
  TCaptureWarning warning;
  warning.Kind = Kind;
  warning.Value = Value;
  return warning;
}

// What the reader and the screen left out, and whether the fit can be
// trusted.
void AddScreenWarnings(const TCapture &Capture, const TSampleScreen &Screen,
                       TCaptureAnalysis &Analysis)
{
  std::vector<TCaptureWarning> &warnings = Analysis.Warnings;
  if (Capture.LastLineCut)
    warnings.push_back(Warning(TCaptureWarning::LastLineCut));
  for (const TClippedEnd &end : Screen.Clipped) {
    TCaptureWarning warning = Warning(TCaptureWarning::Clipped, end.Value);
    warning.Channel = end.Channel;
    warning.Top = end.Top;
    warning.Count = end.Samples;
    Analysis.Clipped[end.Channel] += end.Samples;
    warnings.push_back(warning);
  }
  if (Screen.Outliers > 0) {
    TCaptureWarning warning = Warning(TCaptureWarning::Outliers);
    warning.Count = Screen.Outliers;
    for (std::size_t i = 0; i < Capture.Size() && warning.Lines.size() < NamedOutliers; ++i)
      if (Screen.Outlier[i])
        warning.Lines.push_back(i < Capture.Line.size() ? Capture.Line[i]
                                                        : static_cast<std::uint32_t>(i + 1));
    warnings.push_back(warning);
  }
  const double outlier_percent = 100.0 * Screen.Outliers / Capture.Size();
  if (outlier_percent > UnreliableOutlierPercent)
    warnings.push_back(Warning(TCaptureWarning::ManyOutliers, outlier_percent));
  if (100.0 * Screen.Residual > UnreliableResidualPercent)
    warnings.push_back(Warning(TCaptureWarning::LargeResidual, 100.0 * Screen.Residual));
}

// The fitted figure least sure against its limit, when beyond it.
void AddUncertainWarning(const TCaptureAnalysis &Analysis, std::vector<TCaptureWarning> &Warnings)
{
  const TEllipse &e = Analysis.Ellipse;
  const TEllipseUncertainty &u = Analysis.Uncertainty;
  struct TSpread
  {
    double Value, Limit;
    int Channel;
    TCaptureWarning::TFitted Fitted;
  };
  const TSpread spreads[] = {
      {200.0 * u.OffsetA / e.AmplitudeA, UnreliableSpreadPercent, 0, TCaptureWarning::FittedOffset},
      {200.0 * u.OffsetB / e.AmplitudeB, UnreliableSpreadPercent, 1, TCaptureWarning::FittedOffset},
      {200.0 * u.AmplitudeA / e.AmplitudeA, UnreliableSpreadPercent, 0,
       TCaptureWarning::FittedAmplitude},
      {200.0 * u.AmplitudeB / e.AmplitudeB, UnreliableSpreadPercent, 1,
       TCaptureWarning::FittedAmplitude},
      {2.0 * u.Phase, UnreliableSpreadPhase, 0, TCaptureWarning::FittedPhase}};
  const TSpread *worst = &spreads[0];
  for (const TSpread &spread : spreads)
    if (spread.Value / spread.Limit > worst->Value / worst->Limit)
      worst = &spread;
  if (worst->Value > worst->Limit) {
    TCaptureWarning warning = Warning(TCaptureWarning::Uncertain, worst->Value);
    warning.Channel = worst->Channel;
    warning.Fitted = worst->Fitted;
    Warnings.push_back(warning);
  }
}

}  // namespace

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

TSampleAngles TCaptureAnalysis::Angles(double A, double B) const
{
  TSampleAngles angles;
  angles.Raw = RawAngle(A, B);
  angles.Corrected = CorrectedAngle(A, B);
  angles.Error = MeasuredError(angles.Raw, angles.Corrected);
  return angles;
}

TCaptureProblem AnalyseCapture(const TCapture &Capture, const TEncoderSetup &Base, double Amplitude,
                               TCaptureAnalysis &Analysis)
{
  TCaptureProblem problem;
  problem.Column[0] = Capture.Columns.A;
  problem.Column[1] = Capture.Columns.B;
  const std::size_t n = Capture.Size();
  if (n < MinimumCaptureRows) {
    problem.Kind = TCaptureProblem::TooFewRows;
    problem.Rows = n;
    return problem;
  }
  TSampleScreen &screen = Analysis.Screen;
  problem.Ellipse = ScreenAndFit(Capture, screen);
  if (problem.Ellipse != TEllipseProblem::None) {
    problem.Kind = TCaptureProblem::NoEllipse;
    return problem;
  }
  TEllipse &ellipse = Analysis.Ellipse;
  ellipse = screen.Ellipse;
  RefineEllipse(Capture.A, Capture.B, screen.Keep, ellipse, Analysis.Uncertainty);

  // Corrected pairs, the error and the unwrapped angle in one pass.
  const double peak[2] = {std::fabs(ellipse.OffsetA) + ellipse.AmplitudeA,
                          std::fabs(ellipse.OffsetB) + ellipse.AmplitudeB};
  Analysis.Scale = Amplitude > 0.0 ? Amplitude : std::max(peak[0], peak[1]);
  // The angles are uneven: the harmonics by least squares. Cosine and
  // sine of each angle come from the corrected pair, so no trigonometry
  // runs per sample.
  TErrorSamples<TErrorFigures::All> errors(TAngleSpacing::Uneven);
  THarmonicSums radius_sums(TAngleSpacing::Uneven);
  long radius_count = 0;
  // The span the corrected angle sweeps, from the first sample kept on.
  TUnwrappedAngle unwrapped(0.0, 0.0);
  bool first = true;
  // The residual is the radius' scatter, which isotropic noise gives the
  // angle too.
  TMotionTracker motion(screen.Residual);
  const bool timed = Capture.Time.size() == n;
  for (std::size_t i = 0; i < n; ++i) {
    // A glitch is no position of the scale: it is left out of the
    // periods and the error. Clipped samples stay, as the interpolator
    // sees them.
    if (screen.Outlier[i])
      continue;
    double sine, cosine;
    ellipse.Corrected(Capture.A[i], Capture.B[i], sine, cosine);
    const double radius = std::hypot(sine, cosine);
    const double angle = std::atan2(sine, cosine);
    if (first)
      unwrapped = TUnwrappedAngle(0.0, angle);
    else
      unwrapped.Add(angle);
    first = false;
    motion.Add(unwrapped.Value(), timed ? Capture.Time[i] : std::nan(""));
    const double error = MeasuredError(Analysis.RawAngle(Capture.A[i], Capture.B[i]), angle);
    const THarmonicAngle harmonics =
        radius > 0.0 ? THarmonicAngle::FromCosSin(cosine / radius, sine / radius)
                     : THarmonicAngle::FromCosSin(1.0, 0.0);
    errors.Add(harmonics, error);
    // Clipped samples' radius says more about the clipping than the waveform.
    if (screen.Keep[i]) {
      radius_sums.Add(harmonics, radius - 1.0);
      ++radius_count;
    }
  }
  Analysis.Periods = (unwrapped.High() - unwrapped.Low()) / TwoPi;
  Analysis.Motion = motion.Result(timed ? Capture.TimeColumn : 0);
  if (!(Analysis.Periods >= 0.25)) {
    problem.Kind = TCaptureProblem::ShortSweep;
    problem.Periods = Analysis.Periods;
    return problem;
  }
  Analysis.Measured = errors.Result();
  Analysis.ResidualPercent = 100.0 * screen.Residual;
  // radius - 1 = -K cos(4 theta + PHI) = K cos(4 theta + PHI + pi).
  THarmonic radius[HarmonicCount];
  radius_sums.Solve(radius_count, radius);
  Analysis.Harmonic3 = radius[3].Amplitude;
  Analysis.Harmonic3Phase = WrappedAngle(radius[3].Phase - Pi);
  Analysis.CorrectedHarmonic4 = Harmonic3Error(Analysis.Harmonic3, Analysis.Harmonic3Phase);
  // The interpolator counts turns of the raw pair round its zero, which
  // must lie inside the figure.
  double zero_sine, zero_cosine;
  ellipse.Corrected(0.0, 0.0, zero_sine, zero_cosine);
  Analysis.MeasuredValid = std::hypot(zero_sine, zero_cosine) < 1.0;

  TEncoderSetup &model = Analysis.Model;
  model = Base;
  model.Gain[0] = ellipse.AmplitudeA / Analysis.Scale;
  model.Gain[1] = ellipse.AmplitudeB / Analysis.Scale;
  model.Offset[0] = ellipse.OffsetA / Analysis.Scale;
  model.Offset[1] = ellipse.OffsetB / Analysis.Scale;
  model.Phase[0] = ellipse.Phase;
  model.Phase[1] = 0.0;

  std::vector<TCaptureWarning> &warnings = Analysis.Warnings;
  AddScreenWarnings(Capture, screen, Analysis);
  AddUncertainWarning(Analysis, warnings);
  if (!Analysis.MeasuredValid) {
    TCaptureWarning warning =
        Warning(TCaptureWarning::ZeroOutside, ellipse.OffsetA + Capture.Zero[0]);
    warning.Other = ellipse.OffsetB + Capture.Zero[1];
    warnings.push_back(warning);
  }
  if (Analysis.Periods < 1.0)
    warnings.push_back(Warning(TCaptureWarning::ShortCoverage, Analysis.Periods));
  for (int c = 0; c < 2; ++c)
    if (peak[c] > Analysis.Scale) {
      TCaptureWarning warning = Warning(TCaptureWarning::Clips, peak[c] / Analysis.Scale);
      warning.Channel = c;
      warnings.push_back(warning);
    }
  // B's phase, the reference, is 0 by construction and never warns.
  for (const TSetupParameter &parameter : SetupParameters())
    if (parameter.Part == TParameterPart::Channel &&
        !parameter.Range->Contains(parameter.In(model))) {
      TCaptureWarning warning = Warning(TCaptureWarning::OutOfRange, parameter.In(model));
      warning.Channel = parameter.Channel;
      warning.Parameter = &parameter;
      warnings.push_back(warning);
    }
  return problem;
}
