#include "ellipsefit.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cassert>
#include <cmath>

namespace {

// Below this ratio of smallest to largest eigenvalue the normal equations
// have no single solution: the samples lie on a line or a point.
const double SingularRatio = 1e-13;

// Middle and half the range of one channel, without overflow for any
// finite values, so the fit works on numbers of order one.
struct TNormalisation
{
  double Middle = 0.0;
  double Half = 0.0;
};

TNormalisation Normalisation(TSampleSpan<double> Values, const TSampleMask *Keep)
{
  double low = INFINITY, high = -INFINITY;
  for (std::size_t i = 0; i < Values.size(); ++i)
    if (!Keep || (*Keep)[i]) {
      low = std::min(low, Values[i]);
      high = std::max(high, Values[i]);
    }
  return {low / 2.0 + high / 2.0, high / 2.0 - low / 2.0};
}

}  // namespace

double TEllipse::A(double Theta) const
{
  return OffsetA + AmplitudeA * std::sin(Theta + Phase);
}

double TEllipse::B(double Theta) const
{
  return OffsetB + AmplitudeB * std::cos(Theta);
}

void TEllipse::Corrected(double A, double B, double &Sine, double &Cosine) const
{
  Cosine = (B - OffsetB) / AmplitudeB;
  Sine = ((A - OffsetA) / AmplitudeA - std::sin(Phase) * Cosine) / std::cos(Phase);
}

TEllipseProblem FitEllipse(TSampleSpan<double> A, TSampleSpan<double> B, TEllipse &Ellipse,
                           const TSampleMask *Keep)
{
  assert(A.size() == B.size() && !A.empty());
  assert(!Keep || Keep->size() == A.size());
  const TNormalisation na = Normalisation(A, Keep), nb = Normalisation(B, Keep);
  if (!(na.Half > 0.0))
    return TEllipseProblem::ConstantA;
  if (!(nb.Half > 0.0))
    return TEllipseProblem::ConstantB;
  // Normal equations of the conic in the normalised coordinates u, v.
  Eigen::Matrix<double, 5, 5> normal = Eigen::Matrix<double, 5, 5>::Zero();
  Eigen::Matrix<double, 5, 1> right = Eigen::Matrix<double, 5, 1>::Zero();
  for (std::size_t i = 0; i < A.size(); ++i) {
    if (Keep && !(*Keep)[i])
      continue;
    const double u = (A[i] - na.Middle) / na.Half;
    const double v = (B[i] - nb.Middle) / nb.Half;
    const Eigen::Matrix<double, 5, 1> row(u * u, v * v, u * v, u, v);
    normal.selfadjointView<Eigen::Lower>().rankUpdate(row);
    right += row;
  }
  normal = normal.selfadjointView<Eigen::Lower>();
  const Eigen::SelfAdjointEigenSolver<Eigen::Matrix<double, 5, 5>> eigen(normal,
                                                                         Eigen::EigenvaluesOnly);
  const double largest = eigen.eigenvalues().maxCoeff();
  if (eigen.info() != Eigen::Success || !(eigen.eigenvalues().minCoeff() > SingularRatio * largest))
    return TEllipseProblem::Singular;
  const Eigen::Matrix<double, 5, 1> p = normal.ldlt().solve(right);
  const double a = p[0], b = p[1], c = p[2], d = p[3], e = p[4];
  // Centre where the gradient vanishes; the conic there is
  // a U^2 + b V^2 + c U V = K in coordinates about the centre.
  const double determinant = 4.0 * a * b - c * c;
  if (!(determinant > 0.0))
    return TEllipseProblem::NotElliptic;
  const double u0 = (c * e - 2.0 * b * d) / determinant;
  const double v0 = (c * d - 2.0 * a * e) / determinant;
  const double k = 1.0 - (d * u0 + e * v0) / 2.0;
  if (!(a * k > 0.0))
    return TEllipseProblem::Empty;
  // With U = au sin(t + phi), V = bv cos t the conic is
  // U^2 / au^2 - 2 sin(phi) U V / (au bv) + V^2 / bv^2 = cos^2 phi.
  const double sine = -c / (2.0 * std::sqrt(a * b)) * (a > 0.0 ? 1.0 : -1.0);
  const double cosine = std::sqrt(1.0 - sine * sine);
  Ellipse.Phase = std::asin(sine);
  Ellipse.AmplitudeA = na.Half * std::sqrt(k / a) / cosine;
  Ellipse.AmplitudeB = nb.Half * std::sqrt(k / b) / cosine;
  Ellipse.OffsetA = na.Middle + na.Half * u0;
  Ellipse.OffsetB = nb.Middle + nb.Half * v0;
  if (!std::isfinite(Ellipse.AmplitudeA) || !std::isfinite(Ellipse.AmplitudeB) ||
      !std::isfinite(Ellipse.OffsetA) || !std::isfinite(Ellipse.OffsetB) || !(cosine > 0.0))
    return TEllipseProblem::Degenerate;
  return TEllipseProblem::None;
}
