#include "ellipserefine.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cassert>
#include <cmath>

namespace {

using TVector5 = Eigen::Matrix<double, 5, 1>;
using TMatrix5 = Eigen::Matrix<double, 5, 5>;

// Gauss-Newton steps at most, and the step (in amplitudes and radians)
// below which the fit has settled.
const int MaximumSteps = 30;
const double SettledStep = 1e-12;
// A step that promises to shorten the squared distances by less than this
// share is not taken: the fit has settled within rounding.
const double SettledSquares = 1e-14;
// Halvings of a step that lengthens the distances before giving up.
const int MaximumHalvings = 8;
// Newton steps towards each sample's closest point on the curve.
const int ClosestPointSteps = 4;
// Near a phase error of a quarter period the ellipse flattens to a line:
// no step goes there.
const double LargestPhase = 1.5;

TVector5 Parameters(const TEllipse &Ellipse)
{
  TVector5 p;
  p << Ellipse.OffsetA, Ellipse.OffsetB, Ellipse.AmplitudeA, Ellipse.AmplitudeB, Ellipse.Phase;
  return p;
}

TEllipse FromParameters(const TVector5 &P)
{
  TEllipse ellipse;
  ellipse.OffsetA = P[0];
  ellipse.OffsetB = P[1];
  ellipse.AmplitudeA = P[2];
  ellipse.AmplitudeB = P[3];
  ellipse.Phase = P[4];
  return ellipse;
}

// The samples' signed distances from an ellipse, each sample at its
// closest point theta: their sum of squares, and the normal equations of
// the five parameters with the thetas eliminated (the distance along the
// normal is all that changes to first order).
struct TDistances
{
  double Squares = 0.0;
  std::size_t Count = 0;
  TMatrix5 Normal = TMatrix5::Zero();
  TVector5 Right = TVector5::Zero();
};

TDistances Distances(TSampleSpan<double> A, TSampleSpan<double> B, const TSampleMask &Keep,
                     const TEllipse &E)
{
  TDistances d;
  const double sin_phase = std::sin(E.Phase), cos_phase = std::cos(E.Phase);
  for (std::size_t i = 0; i < A.size(); ++i) {
    if (!Keep[i])
      continue;
    double sine, cosine;
    E.Corrected(A[i], B[i], sine, cosine);
    double theta = std::atan2(sine, cosine);
    double ra = 0.0, rb = 0.0, ta = 0.0, tb = 0.0, s = 0.0, c = 0.0, sp = 0.0, cp = 0.0;
    for (int step = 0;; ++step) {
      s = std::sin(theta), c = std::cos(theta);
      sp = s * cos_phase + c * sin_phase, cp = c * cos_phase - s * sin_phase;
      ra = A[i] - E.OffsetA - E.AmplitudeA * sp;
      rb = B[i] - E.OffsetB - E.AmplitudeB * c;
      ta = E.AmplitudeA * cp;
      tb = -E.AmplitudeB * s;
      if (step == ClosestPointSteps)
        break;
      // Newton on the residual's component along the tangent; where the
      // curvature term would spoil it, the Gauss-Newton step instead.
      const double tangent = ta * ta + tb * tb;
      const double curvature = tangent + ra * E.AmplitudeA * sp + rb * E.AmplitudeB * c;
      const double move = (ra * ta + rb * tb) / (curvature > 0.5 * tangent ? curvature : tangent);
      theta += move;
      if (!(std::fabs(move) > 1e-15))
        break;
    }
    const double norm = std::hypot(ta, tb);
    const double na = -tb / norm, nb = ta / norm;
    const double distance = na * ra + nb * rb;
    const TVector5 row(na, nb, na * sp, nb * c, na * E.AmplitudeA * cp);
    d.Normal.selfadjointView<Eigen::Lower>().rankUpdate(row);
    d.Right += distance * row;
    d.Squares += distance * distance;
    ++d.Count;
  }
  d.Normal = d.Normal.selfadjointView<Eigen::Lower>();
  return d;
}

void SetUncertainty(const TDistances &D, TEllipseUncertainty &Uncertainty)
{
  Uncertainty = TEllipseUncertainty();
  if (D.Count <= 5)
    return;
  const Eigen::LDLT<TMatrix5> ldlt(D.Normal);
  if (ldlt.info() != Eigen::Success)
    return;
  const TMatrix5 covariance =
      D.Squares / static_cast<double>(D.Count - 5) * ldlt.solve(TMatrix5::Identity());
  double *const u[5] = {&Uncertainty.OffsetA, &Uncertainty.OffsetB, &Uncertainty.AmplitudeA,
                        &Uncertainty.AmplitudeB, &Uncertainty.Phase};
  for (int k = 0; k < 5; ++k) {
    *u[k] = covariance(k, k) > 0.0 ? std::sqrt(covariance(k, k)) : 0.0;
    for (int j = 0; j < 5; ++j)
      Uncertainty.Covariance[k][j] = covariance(k, j);
  }
}

}  // namespace

void RefineEllipse(TSampleSpan<double> A, TSampleSpan<double> B, const TSampleMask &Keep,
                   TEllipse &Ellipse, TEllipseUncertainty &Uncertainty)
{
  assert(A.size() == B.size() && Keep.size() == A.size());
  TVector5 p = Parameters(Ellipse);
  TDistances d = Distances(A, B, Keep, Ellipse);
  for (int step = 0; step < MaximumSteps; ++step) {
    const Eigen::LDLT<TMatrix5> ldlt(d.Normal);
    if (ldlt.info() != Eigen::Success)
      break;
    TVector5 move = ldlt.solve(d.Right);
    if (!move.allFinite() || !(move.dot(d.Right) > SettledSquares * d.Squares))
      break;
    bool better = false;
    for (int halving = 0; halving <= MaximumHalvings; ++halving, move /= 2.0) {
      const TEllipse trial = FromParameters(p + move);
      if (!(trial.AmplitudeA > 0.0 && trial.AmplitudeB > 0.0 &&
            std::fabs(trial.Phase) < LargestPhase))
        continue;
      const TDistances next = Distances(A, B, Keep, trial);
      if (next.Squares <= d.Squares) {
        p += move;
        d = next;
        better = true;
        break;
      }
    }
    const double amplitude = std::max(p[2], p[3]);
    if (!better || (move.head<4>().cwiseAbs().maxCoeff() <= SettledStep * amplitude &&
                    std::fabs(move[4]) <= SettledStep))
      break;
  }
  Ellipse = FromParameters(p);
  SetUncertainty(d, Uncertainty);
}
