#include "captureanalysis.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>

#include "angles.h"
#include "encoderinterpolator.h"

namespace {

// Harmonic least squares: a constant, then cos h t and sin h t.
const int HarmonicTerms = 1 + 2 * HarmonicCount;

// Harmonics 1 ... 4 of the error against the angle by least squares,
// since the samples are not evenly spaced in angle; accumulated sample by
// sample, so no per-sample array is kept. Cosine and sine of each angle
// come from the corrected pair, so no trigonometry runs per sample.
class THarmonicFit
{
public:
  void Add(double Cos1, double Sin1, double Error)
  {
    d_row[0] = 1.0;
    double c = Cos1, s = Sin1;
    for (int h = 0; h < HarmonicCount; ++h) {
      d_row[1 + 2 * h] = c;
      d_row[2 + 2 * h] = s;
      // cos (h+1)t and sin (h+1)t from the angle-sum formulas.
      const double next_c = c * Cos1 - s * Sin1;
      s = s * Cos1 + c * Sin1;
      c = next_c;
    }
    d_normal.selfadjointView<Eigen::Lower>().rankUpdate(d_row);
    d_right += Error * d_row;
  }

  void Solve(THarmonic *Harmonics) const
  {
    const Matrix normal = d_normal.selfadjointView<Eigen::Lower>();
    const Vector p = normal.ldlt().solve(d_right);
    for (int h = 0; h < HarmonicCount; ++h) {
      // p cos ht + q sin ht = R cos(ht + phase), R cos phase = p, R sin phase = -q.
      const double cosine = p[1 + 2 * h], sine = p[2 + 2 * h];
      if (std::isfinite(cosine) && std::isfinite(sine))
        Harmonics[h] = {std::hypot(cosine, sine), std::atan2(-sine, cosine)};
    }
  }

private:
  using Matrix = Eigen::Matrix<double, HarmonicTerms, HarmonicTerms>;
  using Vector = Eigen::Matrix<double, HarmonicTerms, 1>;
  Matrix d_normal = Matrix::Zero();
  Vector d_right = Vector::Zero();
  Vector d_row;
};

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
  THarmonicFit harmonics;
  double unwrapped = 0.0, low = 0.0, high = 0.0, previous = 0.0;
  double squares = 0.0, residual = 0.0, sum = 0.0;
  double lowest = INFINITY, highest = -INFINITY;
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
    lowest = std::min(lowest, error);
    highest = std::max(highest, error);
    sum += error;
    squares += error * error;
    if (radius > 0.0)
      harmonics.Add(cosine / radius, sine / radius, error);
    else
      harmonics.Add(1.0, 0.0, error);
  }
  Analysis.Periods = (high - low) / TwoPi;
  if (!(Analysis.Periods >= 0.25)) {
    problem.Kind = TCaptureProblem::ShortSweep;
    problem.Periods = Analysis.Periods;
    return problem;
  }
  TInterpolationError &measured = Analysis.Measured;
  measured.PeakToPeak = highest - lowest;
  measured.MaxAbs = std::max(std::fabs(lowest), std::fabs(highest));
  measured.Mean = sum / n;
  measured.Rms = std::sqrt(squares / n);
  Analysis.ResidualPercent = 100.0 * std::sqrt(residual / n);
  harmonics.Solve(measured.Harmonics);

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
