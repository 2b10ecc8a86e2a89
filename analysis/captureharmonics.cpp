#include "captureharmonics.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <complex>

#include "ellipserefine.h"
#include "signalchain.h"

#include "angles.h"
#include "captureerror.h"

namespace {

using TComplex = std::complex<double>;
using TVector = Eigen::VectorXd;
using TMatrix = Eigen::MatrixXd;

const TComplex I(0.0, 1.0);

TComplex PowerOfI(int N)
{
  const TComplex powers[4] = {1.0, I, -1.0, -I};
  return powers[((N % 4) + 4) % 4];
}

// e^(i m t) for m = -MaximumOrder ... MaximumOrder, from cos t and sin t.
const int MaximumOrder = 6;
struct TTurns
{
  TComplex Power[2 * MaximumOrder + 1];

  TTurns(double Cos, double Sin)
  {
    const TComplex unit(Cos, Sin);
    Power[MaximumOrder] = 1.0;
    for (int m = 1; m <= MaximumOrder; ++m) {
      Power[MaximumOrder + m] = Power[MaximumOrder + m - 1] * unit;
      Power[MaximumOrder - m] = std::conj(Power[MaximumOrder + m]);
    }
  }
  TComplex operator()(int M) const { return Power[MaximumOrder + M]; }
};

// Harmonic h of the waveform, K e^(i phi) = x + i y, moves the corrected
// pair by E = (radius - 1) + i (angle error): to first order in K,
//   E = a z e^(i (h - 1) t) + b conj(z) e^(-i (h + 1) t),
// a = (1 - i^(h + 1)) / 2 and b = (i^(1 - h) - 1) / 2, as channel A
// carries sin(h t + phi) and B sin(h (t + pi/2) + phi). Its change with x
// and with y:
void HarmonicColumns(int H, const TTurns &Turns, TComplex &Dx, TComplex &Dy)
{
  const TComplex a = 0.5 * (1.0 - PowerOfI(H + 1)), b = 0.5 * (PowerOfI(1 - H) - 1.0);
  const TComplex up = a * Turns(H - 1), down = b * Turns(-(H + 1));
  Dx = up + down;
  Dy = I * (up - down);
}

// Least squares by normal equations, one row at a time.
struct TNormalSums
{
  TMatrix Normal;
  TVector Right;
  double Squares = 0.0;
  long Rows = 0;

  explicit TNormalSums(int Terms) : Normal(TMatrix::Zero(Terms, Terms)), Right(TVector::Zero(Terms))
  {}
  void Add(const TVector &Row, double Value)
  {
    Normal.selfadjointView<Eigen::Lower>().rankUpdate(Row);
    Right += Value * Row;
    Squares += Value * Value;
    ++Rows;
  }
  // The coefficients and their covariance; false when the rows cannot
  // decide them.
  bool Solve(TVector &Coefficients, TMatrix &Covariance, double &Residual) const
  {
    const long terms = Right.size();
    if (Rows <= terms)
      return false;
    const TMatrix normal = Normal.selfadjointView<Eigen::Lower>();
    const Eigen::LDLT<TMatrix> solver(normal);
    if (solver.info() != Eigen::Success || !(solver.rcond() > 1e-13))
      return false;
    Coefficients = solver.solve(Right);
    const double squares = std::max(0.0, Squares - Coefficients.dot(Right));
    const double variance = squares / static_cast<double>(Rows - terms);
    Residual = std::sqrt(variance);
    Covariance = variance * solver.solve(TMatrix::Identity(terms, terms));
    return true;
  }
};

THarmonicEstimate Estimate(int H, const TVector &C, const TMatrix &Covariance, int At)
{
  THarmonicEstimate e;
  e.Order = H;
  e.Known = true;
  const double x = C[At], y = C[At + 1];
  const double vxx = Covariance(At, At), vyy = Covariance(At + 1, At + 1),
               vxy = Covariance(At, At + 1);
  e.K = std::hypot(x, y);
  e.Phase = std::atan2(y, x);
  if (e.K > 0.0) {
    const double k2 = e.K * e.K;
    e.KUncertainty = std::sqrt(std::max(0.0, (x * x * vxx + y * y * vyy + 2.0 * x * y * vxy) / k2));
    // Beyond pi the phase is not known at all.
    e.PhaseUncertainty = std::min(
        Pi, std::sqrt(std::max(0.0, (y * y * vxx + x * x * vyy - 2.0 * x * y * vxy) / (k2 * k2))));
  } else {
    e.KUncertainty = std::sqrt(0.5 * (vxx + vyy));
    e.PhaseUncertainty = Pi;
  }
  return e;
}

// The radius' terms: its mean, orders 1 and 2 (offsets and ellipse the
// fit has absorbed), then the second, third and fourth harmonics.
const int RadiusNuisance = 5;
const int RadiusOrders[] = {2, 3, 4};

// The complex terms: the radius' mean, E's orders -1 and -2 (what the
// ellipse leaves), the motion (a cubic in time), then orders 2 ... 5.
const int MotionTerms = 4;
const int AngleNuisance = 5 + MotionTerms;

// The samples the fit kept, corrected, with their unwrapped angle.
template <typename TVisit>
void ForKeptSamples(const TCaptureView &Capture, const TSampleScreen &Screen,
                    const TEllipse &Ellipse, TVisit Visit)
{
  TUnwrappedAngle unwrapped(0.0, 0.0);
  bool first = true;
  for (std::size_t i = 0; i < Capture.Size(); ++i) {
    if (Screen.Outlier[i])
      continue;
    double sine, cosine;
    Ellipse.Corrected(Capture.A[i], Capture.B[i], sine, cosine);
    const double angle = std::atan2(sine, cosine);
    if (first)
      unwrapped = TUnwrappedAngle(angle, angle);
    else
      unwrapped.Add(angle);
    first = false;
    if (!Screen.Keep[i])
      continue;
    const double radius = std::hypot(sine, cosine);
    if (radius > 0.0)
      Visit(i, cosine / radius, sine / radius, radius, unwrapped.Value());
  }
}

void FitRadius(const TCaptureView &Capture, const TSampleScreen &Screen, const TEllipse &Ellipse,
               TCaptureHarmonics &Result)
{
  const int terms = RadiusNuisance + 2 * 3;
  TNormalSums sums(terms);
  TVector row(terms);
  ForKeptSamples(Capture, Screen, Ellipse, [&](std::size_t, double C, double S, double R, double) {
    const TTurns turns(C, S);
    row[0] = 1.0;
    for (int m = 1; m <= 2; ++m) {
      row[2 * m - 1] = turns(m).real();
      row[2 * m] = turns(m).imag();
    }
    int at = RadiusNuisance;
    for (int h : RadiusOrders) {
      TComplex dx, dy;
      HarmonicColumns(h, turns, dx, dy);
      row[at++] = dx.real();
      row[at++] = dy.real();
    }
    sums.Add(row, R - 1.0);
  });
  TVector c;
  TMatrix covariance;
  if (!sums.Solve(c, covariance, Result.RadiusResidual))
    return;
  int at = RadiusNuisance;
  for (int h : RadiusOrders) {
    Result.Order[h - FirstCaptureHarmonic] = Estimate(h, c, covariance, at);
    at += 2;
  }
}

// The radius and the angle's error against a smooth motion together.
// False when the motion was not steady enough to tell the error along the
// angle from the motion.
// The corrected angle of a steady motion at a time, as the fit found it.
struct TMotionTrend
{
  double Mean = 0.0, Slope = 0.0, MeanTime = 0.0, Middle = 0.0, HalfSpan = 1.0;
  double Terms[MotionTerms] = {};

  double At(double Time) const
  {
    const double tau = (Time - Middle) / HalfSpan;
    double angle = Mean + Slope * (Time - MeanTime), power = 1.0;
    for (int k = 0; k < MotionTerms; ++k, power *= tau)
      angle += Terms[k] * power;
    return angle;
  }
};

bool FitRadiusAndAngle(const TCaptureView &Capture, const TSampleScreen &Screen,
                       const TEllipse &Ellipse, TCaptureHarmonics &Result, TMotionTrend &Trend,
                       bool CheckSteady)
{
  // A straight line through the unwrapped angle against time first, so
  // the sums below hold small numbers.
  double n = 0.0, mean_t = 0.0, mean_a = 0.0, sum_tt = 0.0, sum_ta = 0.0;
  ForKeptSamples(Capture, Screen, Ellipse,
                 [&](std::size_t i, double, double, double, double Angle) {
                   n += 1.0;
                   const double dt = Capture.Time[i] - mean_t, da = Angle - mean_a;
                   mean_t += dt / n;
                   mean_a += da / n;
                   sum_tt += dt * (Capture.Time[i] - mean_t);
                   sum_ta += dt * (Angle - mean_a);
                 });
  if (!(sum_tt > 0.0))
    return false;
  const double slope = sum_ta / sum_tt;
  const double half_span = 0.5 * (Capture.Time[Capture.Time.size() - 1] - Capture.Time[0]);
  const double middle = 0.5 * (Capture.Time[Capture.Time.size() - 1] + Capture.Time[0]);
  if (!(half_span > 0.0))
    return false;

  const int terms = AngleNuisance + 2 * CaptureHarmonicCount;
  TNormalSums sums(terms);
  TVector radial(terms), along(terms);
  ForKeptSamples(Capture, Screen, Ellipse,
                 [&](std::size_t i, double C, double S, double R, double Angle) {
                   const TTurns turns(C, S);
                   radial.setZero();
                   along.setZero();
                   radial[0] = 1.0;
                   for (int m = 1; m <= 2; ++m) {
                     const TComplex e = turns(-m), ie = I * e;
                     radial[2 * m - 1] = e.real();
                     along[2 * m - 1] = e.imag();
                     radial[2 * m] = ie.real();
                     along[2 * m] = ie.imag();
                   }
                   const double tau = (Capture.Time[i] - middle) / half_span;
                   double power = 1.0;
                   for (int k = 0; k < MotionTerms; ++k, power *= tau)
                     along[5 + k] = power;
                   int at = AngleNuisance;
                   for (int h = FirstCaptureHarmonic; h <= LastCaptureHarmonic; ++h) {
                     TComplex dx, dy;
                     HarmonicColumns(h, turns, dx, dy);
                     radial[at] = dx.real();
                     along[at++] = dx.imag();
                     radial[at] = dy.real();
                     along[at++] = dy.imag();
                   }
                   sums.Add(radial, R - 1.0);
                   sums.Add(along, Angle - mean_a - slope * (Capture.Time[i] - mean_t));
                 });
  TVector c;
  TMatrix covariance;
  double residual = 0.0;
  if (!sums.Solve(c, covariance, residual))
    return false;
  // Both halves of the rows share the residual; the angle's part is what
  // the radius leaves of it.
  Result.AngleResidual = std::sqrt(
      std::max(0.0, 2.0 * residual * residual - Result.RadiusResidual * Result.RadiusResidual));
  if (CheckSteady && Result.AngleResidual > SteadyAngleResidual &&
      Result.AngleResidual > UnsteadyResidualRatio * Result.RadiusResidual) {
    Result.Refusal = TCaptureHarmonics::NotSteady;
    return false;
  }
  Trend.Mean = mean_a;
  Trend.Slope = slope;
  Trend.MeanTime = mean_t;
  Trend.Middle = middle;
  Trend.HalfSpan = half_span;
  for (int k = 0; k < MotionTerms; ++k)
    Trend.Terms[k] = c[5 + k];
  int at = AngleNuisance;
  for (int h = FirstCaptureHarmonic; h <= LastCaptureHarmonic; ++h, at += 2)
    Result.Order[h - FirstCaptureHarmonic] = Estimate(h, c, covariance, at);
  Result.Basis = TCaptureHarmonics::RadiusAndAngle;
  return true;
}

// The first-order estimate in Basis; Trend is the motion's in time.
TCaptureHarmonics EstimateIn(TCaptureHarmonics::TBasis Basis, const TCaptureView &Capture,
                             const TSampleScreen &Screen, const TEllipse &Ellipse,
                             TMotionTrend &Trend)
{
  TCaptureHarmonics result;
  for (int h = FirstCaptureHarmonic; h <= LastCaptureHarmonic; ++h)
    result.Order[h - FirstCaptureHarmonic].Order = h;
  FitRadius(Capture, Screen, Ellipse, result);
  if (Basis == TCaptureHarmonics::RadiusAndAngle)
    FitRadiusAndAngle(Capture, Screen, Ellipse, result, Trend, false);
  return result;
}

TComplex Phasor(const THarmonicEstimate &E)
{
  return std::polar(E.K, E.Phase);
}

// The error along the angle that the harmonics make at Angle, to first
// order.
double AngleError(const TCaptureHarmonics &Harmonics, const TComplex *Z, double Angle)
{
  const TTurns turns(std::cos(Angle), std::sin(Angle));
  double error = 0.0;
  for (const THarmonicEstimate &e : Harmonics.Order) {
    TComplex dx, dy;
    HarmonicColumns(e.Order, turns, dx, dy);
    const TComplex z = Z[e.Order - FirstCaptureHarmonic];
    error += (z.real() * dx + z.imag() * dy).imag();
  }
  return error;
}

// Noiseless samples of channels Channels with the harmonics Z at the
// Angles (and Times), as the capture's own would be.
TCapture Synthesize(const TEllipse &Channels, const TComplex *Z, const std::vector<double> &Angles,
                    const std::vector<double> &Times)
{
  TSignalOptions signal;
  for (int h = FirstCaptureHarmonic; h <= LastCaptureHarmonic; ++h) {
    signal.Harmonic[h] = std::abs(Z[h - FirstCaptureHarmonic]);
    signal.HarmonicPhase[h] = std::arg(Z[h - FirstCaptureHarmonic]);
  }
  const auto wave = [&signal](double X) { return Waveform(signal, X); };
  TCapture capture;
  capture.Time = Times;
  for (std::size_t i = 0; i < Angles.size(); ++i) {
    capture.A.push_back(Channels.OffsetA + Channels.AmplitudeA * wave(Angles[i] + Channels.Phase));
    capture.B.push_back(Channels.OffsetB + Channels.AmplitudeB * wave(Angles[i] + Pi / 2));
    capture.Line.push_back(static_cast<std::uint32_t>(i + 1));
  }
  return capture;
}

// Samples the synthesis draws at most.
const std::size_t SynthesizedSamples = 8192;
const int SynthesisRounds = 3;

}  // namespace

TCaptureHarmonics EstimateCaptureHarmonics(const TCaptureView &Capture, const TSampleScreen &Screen,
                                           const TEllipse &Ellipse, double Periods,
                                           long long Reversals)
{
  TMotionTrend trend;
  TCaptureHarmonics result = EstimateIn(TCaptureHarmonics::Radius, Capture, Screen, Ellipse, trend);
  if (Capture.Time.size() == Capture.Size()) {
    TCaptureHarmonics both = result;
    if (Reversals > 0)
      result.Refusal = TCaptureHarmonics::NotOneWay;
    else if (Periods < MinimumSteadyPeriods)
      result.Refusal = TCaptureHarmonics::FewPeriods;
    else if (FitRadiusAndAngle(Capture, Screen, Ellipse, both, trend, true))
      result = both;
    else {
      result.Refusal = both.Refusal;
      result.AngleResidual = both.AngleResidual;
    }
  }
  const TCaptureHarmonics::TBasis basis = result.Basis;
  result.Channels = Ellipse;

  // The first-order estimate is off by the square of the harmonics. The
  // same estimate of noiseless samples drawn with the harmonics found shows
  // by how much: each round moves the harmonics and the channels' ellipse
  // by what that estimate misses.
  TComplex observed[CaptureHarmonicCount], z[CaptureHarmonicCount];
  bool any = false;
  for (int k = 0; k < CaptureHarmonicCount; ++k) {
    const THarmonicEstimate &e = result.Order[k];
    any = any || e.Significant();
    observed[k] = z[k] = e.Significant() ? Phasor(e) : TComplex();
  }
  if (!any)
    return result;
  std::vector<double> angles, times;
  const std::size_t kept = std::count(Screen.Keep.begin(), Screen.Keep.end(), 1);
  const std::size_t stride = std::max<std::size_t>(1, kept / SynthesizedSamples);
  std::size_t seen = 0;
  const bool timed = basis == TCaptureHarmonics::RadiusAndAngle;
  ForKeptSamples(
      Capture, Screen, Ellipse, [&](std::size_t i, double, double, double, double Angle) {
        if (seen++ % stride != 0)
          return;
        angles.push_back(timed ? trend.At(Capture.Time[i]) : Angle - AngleError(result, z, Angle));
        if (timed)
          times.push_back(Capture.Time[i]);
      });
  TEllipse channels = Ellipse;
  for (int round = 0; round < SynthesisRounds; ++round) {
    const TCapture synthetic = Synthesize(channels, z, angles, times);
    TSampleScreen screen;
    if (ScreenAndFit(synthetic, screen) != TEllipseProblem::None)
      return result;
    TEllipse fitted = screen.Ellipse;
    TEllipseUncertainty unused;
    RefineEllipse(synthetic.A, synthetic.B, screen.Keep, fitted, unused);
    TMotionTrend synthetic_trend;
    const TCaptureHarmonics again = EstimateIn(basis, synthetic, screen, fitted, synthetic_trend);
    for (int k = 0; k < CaptureHarmonicCount; ++k)
      if (observed[k] != TComplex())
        z[k] += observed[k] - Phasor(again.Order[k]);
    channels.OffsetA += Ellipse.OffsetA - fitted.OffsetA;
    channels.OffsetB += Ellipse.OffsetB - fitted.OffsetB;
    channels.AmplitudeA += Ellipse.AmplitudeA - fitted.AmplitudeA;
    channels.AmplitudeB += Ellipse.AmplitudeB - fitted.AmplitudeB;
    channels.Phase += Ellipse.Phase - fitted.Phase;
  }
  for (int k = 0; k < CaptureHarmonicCount; ++k)
    if (observed[k] != TComplex()) {
      result.Order[k].K = std::abs(z[k]);
      result.Order[k].Phase = std::arg(z[k]);
    }
  result.Channels = channels;
  return result;
}

void AddHarmonicsToModel(const TCaptureHarmonics &Harmonics, TEncoderSetup &Model)
{
  for (const THarmonicEstimate &e : Harmonics.Order) {
    if (!e.Significant())
      continue;
    Model.Signal.Harmonic[e.Order] = e.K;
    Model.Signal.HarmonicPhase[e.Order] = e.Phase;
  }
}
