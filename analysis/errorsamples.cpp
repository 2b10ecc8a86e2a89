#include "errorsamples.h"

THarmonicAngle THarmonicAngle::FromCosSin(double Cos1, double Sin1)
{
  THarmonicAngle angle;
  double c = Cos1, s = Sin1;
  for (int h = 0; h < HarmonicCount; ++h) {
    angle.Cos[h] = c;
    angle.Sin[h] = s;
    // cos (h+1)t and sin (h+1)t from the angle-sum formulas.
    const double next_c = c * Cos1 - s * Sin1;
    s = s * Cos1 + c * Sin1;
    c = next_c;
  }
  return angle;
}

THarmonicAngle THarmonicAngle::FromAngle(double Theta)
{
  THarmonicAngle angle;
  for (int h = 0; h < HarmonicCount; ++h) {
    angle.Cos[h] = std::cos((h + 1) * Theta);
    angle.Sin[h] = std::sin((h + 1) * Theta);
  }
  return angle;
}

THarmonicSums::Vector THarmonicSums::Row(const THarmonicAngle &Angle)
{
  Vector row;
  row[0] = 1.0;
  for (int h = 0; h < HarmonicCount; ++h) {
    row[1 + 2 * h] = Angle.Cos[h];
    row[2 + 2 * h] = Angle.Sin[h];
  }
  return row;
}

THarmonicSums::Vector THarmonicSums::Coefficients(long Count) const
{
  if (d_spacing == TAngleSpacing::Even) {
    // Over one period at evenly spaced angles the columns are orthogonal,
    // the constant's with norm Count and the others' with Count / 2.
    Vector p = d_right * (2.0 / Count);
    p[0] = d_right[0] / Count;
    return p;
  }
  const Matrix normal = d_normal.selfadjointView<Eigen::Lower>();
  return normal.ldlt().solve(d_right);
}

THarmonicSums::Matrix THarmonicSums::Covariance(long Count) const
{
  assert(d_spacing == TAngleSpacing::Uneven);
  if (Count <= Terms)
    return Matrix::Zero();
  const Matrix normal = d_normal.selfadjointView<Eigen::Lower>();
  const Eigen::LDLT<Matrix> ldlt(normal);
  // The residual sum of squares is sum d^2 - p . right at the solution.
  const double squares = std::max(0.0, d_squares - ldlt.solve(d_right).dot(d_right));
  const Matrix covariance =
      squares / static_cast<double>(Count - Terms) * ldlt.solve(Matrix::Identity());
  return covariance.allFinite() ? covariance : Matrix::Zero();
}

void THarmonicSums::Solve(long Count, THarmonic *Harmonics) const
{
  const Vector p = Coefficients(Count);
  for (int h = 0; h < HarmonicCount; ++h) {
    // p cos ht + q sin ht = R cos(ht + phase), R cos phase = p, R sin phase = -q.
    const double cosine = p[1 + 2 * h], sine = p[2 + 2 * h];
    if (std::isfinite(cosine) && std::isfinite(sine))
      Harmonics[h] = {std::hypot(cosine, sine), std::atan2(-sine, cosine)};
  }
}
