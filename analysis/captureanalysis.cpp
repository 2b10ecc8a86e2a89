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
void AddScreenWarnings(const TCaptureView &Capture, const TSampleScreen &Screen,
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

// The corrected radius's shape over the angle, fitted to the kept samples:
// 1 + c + sum p_h cos h theta + q_h sin h theta, and its coefficients'
// covariance.
struct TRadiusFit
{
  THarmonicSums::Vector Coefficients;
  THarmonicSums::Matrix Covariance;

  double At(const THarmonicAngle &Angle) const
  {
    return 1.0 + THarmonicSums::Row(Angle).dot(Coefficients);
  }
};

THarmonicAngle UnitAngle(double Sine, double Cosine, double Radius)
{
  return Radius > 0.0 ? THarmonicAngle::FromCosSin(Cosine / Radius, Sine / Radius)
                      : THarmonicAngle::FromCosSin(1.0, 0.0);
}

// The standard uncertainty of harmonic Order's amplitude hypot(p, q).
double AmplitudeUncertainty(const TRadiusFit &Fit, int Order)
{
  const int k = 1 + 2 * (Order - 1);
  const double p = Fit.Coefficients[k], q = Fit.Coefficients[k + 1];
  const double vp = Fit.Covariance(k, k), vq = Fit.Covariance(k + 1, k + 1);
  const double amplitude = std::hypot(p, q);
  const double variance = amplitude > 0.0
                              ? (p * p * vp + q * q * vq + 2.0 * p * q * Fit.Covariance(k, k + 1)) /
                                    (amplitude * amplitude)
                              : 0.5 * (vp + vq);
  return std::sqrt(std::max(0.0, variance));
}

// Where a sample sits on the signals' curve: its corrected angle and the
// radius it is drawn at there.
struct TCurvePoint
{
  THarmonicAngle Angle;
  double Radius = 1.0;
  bool Fitted = false;  // Radius is the fitted one, not the sample's own
};

// The measured error at Point for an ellipse E: the interpolator's angle
// of the raw pair the curve has there, divided by Scale into its range,
// less the corrected angle.
double CurveError(const TEllipse &E, double Scale, const TCurvePoint &Point)
{
  const double cosine = Point.Radius * Point.Angle.Cos[0], sine = Point.Radius * Point.Angle.Sin[0];
  const double a =
      E.OffsetA + E.AmplitudeA * (sine * std::cos(E.Phase) + cosine * std::sin(E.Phase));
  const double b = E.OffsetB + E.AmplitudeB * cosine;
  const double corrected = std::atan2(Point.Angle.Sin[0], Point.Angle.Cos[0]);
  return MeasuredError(TEncoderInterpolator::Angle(a / Scale, b / Scale),
                       corrected < 0.0 ? corrected + TwoPi : corrected);
}

// The uncertainty of the error's peak-to-peak between the points High and
// Low: the ellipse's covariance and the radius fit's, carried through the
// error at both by central differences.
double PeakToPeakUncertainty(const TEllipse &E, double Scale, const TEllipseUncertainty &U,
                             const TRadiusFit &Fit, const TCurvePoint &High, const TCurvePoint &Low)
{
  const auto spread = [&](const TEllipse &Trial) {
    return CurveError(Trial, Scale, High) - CurveError(Trial, Scale, Low);
  };
  const double amplitude = std::max(E.AmplitudeA, E.AmplitudeB);
  double gradient[5];
  for (int k = 0; k < 5; ++k) {
    const double step = k < 4 ? 1e-6 * amplitude : 1e-6;
    TEllipse up = E, down = E;
    double *const values_up[5] = {&up.OffsetA, &up.OffsetB, &up.AmplitudeA, &up.AmplitudeB,
                                  &up.Phase};
    double *const values_down[5] = {&down.OffsetA, &down.OffsetB, &down.AmplitudeA,
                                    &down.AmplitudeB, &down.Phase};
    *values_up[k] += step;
    *values_down[k] -= step;
    gradient[k] = (spread(up) - spread(down)) / (2.0 * step);
  }
  double variance = 0.0;
  for (int k = 0; k < 5; ++k)
    for (int j = 0; j < 5; ++j)
      variance += gradient[k] * U.Covariance[k][j] * gradient[j];
  // A fitted radius moves with the radius fit's coefficients.
  THarmonicSums::Vector row = THarmonicSums::Vector::Zero();
  const double step = 1e-6;
  for (const TCurvePoint *point : {&High, &Low}) {
    if (!point->Fitted)
      continue;
    TCurvePoint out = *point, in = *point;
    out.Radius += step;
    in.Radius -= step;
    const double slope = (CurveError(E, Scale, out) - CurveError(E, Scale, in)) / (2.0 * step);
    row += (point == &High ? slope : -slope) * THarmonicSums::Row(point->Angle);
  }
  variance += row.dot(Fit.Covariance * row);
  return std::sqrt(std::max(0.0, variance));
}

// The measured error of every sample but the outliers: a sample the fit
// kept is taken at its corrected angle on the fitted curve, so the noise
// across the curve, which moves the raw and the corrected angle apart by
// chance, does not widen the peak-to-peak; a clipped sample counts as the
// interpolator sees it.
void MeasureError(const TCaptureView &Capture, const TRadiusFit &Fit, TCaptureAnalysis &Analysis)
{
  const TSampleScreen &screen = Analysis.Screen;
  TErrorSamples<TErrorFigures::All> errors(TAngleSpacing::Uneven);
  TCurvePoint high, low;
  double highest = -INFINITY, lowest = INFINITY;
  for (std::size_t i = 0; i < Capture.Size(); ++i) {
    if (screen.Outlier[i])
      continue;
    double sine, cosine;
    Analysis.Ellipse.Corrected(Capture.A[i], Capture.B[i], sine, cosine);
    TCurvePoint point;
    const double radius = std::hypot(sine, cosine);
    point.Angle = UnitAngle(sine, cosine, radius);
    point.Fitted = screen.Keep[i];
    point.Radius = point.Fitted ? Fit.At(point.Angle) : radius;
    const double error = CurveError(Analysis.Ellipse, Analysis.Scale, point);
    errors.Add(point.Angle, error);
    if (error > highest)
      highest = error, high = point;
    if (error < lowest)
      lowest = error, low = point;
  }
  Analysis.Measured = errors.Result();
  Analysis.PeakToPeakUncertainty =
      PeakToPeakUncertainty(Analysis.Ellipse, Analysis.Scale, Analysis.Uncertainty, Fit, high, low);
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

TCaptureProblem AnalyseCapture(const TCaptureView &Capture, const TEncoderSetup &Base,
                               double Amplitude, TCaptureAnalysis &Analysis)
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
    // Clipped samples' radius says more about the clipping than the waveform.
    if (screen.Keep[i]) {
      radius_sums.Add(UnitAngle(sine, cosine, radius), radius - 1.0);
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
  Analysis.ResidualPercent = 100.0 * screen.Residual;
  // radius - 1 = -K cos(4 theta + PHI) = K cos(4 theta + PHI + pi).
  THarmonic radius[HarmonicCount];
  radius_sums.Solve(radius_count, radius);
  // The third as if alone, until the harmonics' own estimate replaces it.
  Analysis.Harmonic3 = radius[3].Amplitude;
  Analysis.Harmonic3Phase = WrappedAngle(radius[3].Phase - Pi);
  const TRadiusFit radius_fit{radius_sums.Coefficients(radius_count),
                              radius_sums.Covariance(radius_count)};
  Analysis.Harmonic3Uncertainty = AmplitudeUncertainty(radius_fit, 3);
  MeasureError(Capture, radius_fit, Analysis);
  // The interpolator counts turns of the raw pair round its zero, which
  // must lie inside the figure.
  double zero_sine, zero_cosine;
  ellipse.Corrected(0.0, 0.0, zero_sine, zero_cosine);
  Analysis.MeasuredValid = std::hypot(zero_sine, zero_cosine) < 1.0;

  // The model holds the channels as the harmonics leave them, which a
  // second harmonic moves off the fitted ellipse's centre.
  Analysis.Harmonics = EstimateCaptureHarmonics(Capture, screen, ellipse, Analysis.Periods,
                                                Analysis.Motion.Reversals);
  const THarmonicEstimate &third = Analysis.Harmonics.Harmonic(3);
  if (third.Known) {
    Analysis.Harmonic3 = third.K;
    Analysis.Harmonic3Phase = third.Phase;
    Analysis.Harmonic3Uncertainty = third.KUncertainty;
  }
  Analysis.CorrectedHarmonic4 = Harmonic3Error(Analysis.Harmonic3, Analysis.Harmonic3Phase);
  const TEllipse &channels = Analysis.Harmonics.Channels;
  TEncoderSetup &model = Analysis.Model;
  model = Base;
  model.Gain[0] = channels.AmplitudeA / Analysis.Scale;
  model.Gain[1] = channels.AmplitudeB / Analysis.Scale;
  model.Offset[0] = channels.OffsetA / Analysis.Scale;
  model.Offset[1] = channels.OffsetB / Analysis.Scale;
  model.Phase[0] = channels.Phase;
  model.Phase[1] = 0.0;
  AddHarmonicsToModel(Analysis.Harmonics, model);

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
