#ifndef ERRORSAMPLES_H
#define ERRORSAMPLES_H

#include <Eigen/Dense>
#include <algorithm>
#include <cassert>
#include <cmath>
#include <type_traits>

#include "interpolationerror.h"

// cos h t and sin h t of one angle t for the orders 1 ... HarmonicCount.
struct THarmonicAngle
{
  double Cos[HarmonicCount];
  double Sin[HarmonicCount];

  // From cos t and sin t by the angle-sum formulas: no trigonometry, for
  // angles that arrive as a cosine and sine pair.
  static THarmonicAngle FromCosSin(double Cos1, double Sin1);
  // Each order's own cosine and sine of h t.
  static THarmonicAngle FromAngle(double Theta);
};

// How the samples' angles lie over the period.
enum class TAngleSpacing
{
  // Evenly over one whole period: the harmonic fit's normal equations are
  // diagonal, and the fit is the discrete Fourier transform.
  Even,
  // Anywhere, as a capture's: the harmonics by least squares.
  Uneven,
};

// The sums the harmonic fit of the error needs: error times a constant,
// cos h t and sin h t, and for uneven spacing the normal matrix.
class THarmonicSums
{
public:
  explicit THarmonicSums(TAngleSpacing Spacing) : d_spacing(Spacing) {}

  void Add(const THarmonicAngle &Angle, double Delta)
  {
    d_row[0] = 1.0;
    for (int h = 0; h < HarmonicCount; ++h) {
      d_row[1 + 2 * h] = Angle.Cos[h];
      d_row[2 + 2 * h] = Angle.Sin[h];
    }
    if (d_spacing == TAngleSpacing::Uneven)
      d_normal.selfadjointView<Eigen::Lower>().rankUpdate(d_row);
    d_right += Delta * d_row;
    d_squares += Delta * Delta;
  }

  // Harmonics of Count samples; a harmonic the samples cannot decide
  // stays zero.
  void Solve(long Count, THarmonic *Harmonics) const;

  // The fit c + sum p_h cos ht + q_h sin ht as (c, p_1, q_1, p_2, ...),
  // and for uneven spacing the covariance of those coefficients from the
  // samples' scatter about it.
  static const int Terms = 1 + 2 * HarmonicCount;
  using Matrix = Eigen::Matrix<double, Terms, Terms>;
  using Vector = Eigen::Matrix<double, Terms, 1>;
  Vector Coefficients(long Count) const;
  Matrix Covariance(long Count) const;
  // The fit's value at Angle, and the row of its terms there.
  static Vector Row(const THarmonicAngle &Angle);

private:
  TAngleSpacing d_spacing;
  double d_squares = 0.0;
  Matrix d_normal = Matrix::Zero();
  Vector d_right = Vector::Zero();
  Vector d_row;
};

// Which figures a TErrorSamples keeps.
enum class TErrorFigures
{
  // Peak-to-peak and largest magnitude only: what a study's trial needs,
  // at the cost of a minimum and a maximum per sample.
  Extremes,
  // Also mean, RMS and harmonics 1 ... HarmonicCount.
  All,
};

// The interpolation error's figures from its samples, one (angle, error)
// pair at a time, so no sample array is kept. The one place the error's
// statistics and harmonics are worked out: for the summary's even grid,
// for a capture's uneven angles and for a study's trials.
template <TErrorFigures Figures>
class TErrorSamples
{
public:
  explicit TErrorSamples(TAngleSpacing Spacing = TAngleSpacing::Uneven) : d_sums(Spacing) {}

  // For the extremes alone the angle is not needed.
  void Add(double Delta)
  {
    static_assert(Figures == TErrorFigures::Extremes, "the harmonics need the angle");
    AddExtremes(Delta);
  }

  void Add(const THarmonicAngle &Angle, double Delta)
  {
    AddExtremes(Delta);
    if constexpr (Figures == TErrorFigures::All)
      d_sums.Add(Angle, Delta);
  }

  double PeakToPeak() const { return d_high - d_low; }
  double MaxAbs() const { return std::max(std::fabs(d_low), std::fabs(d_high)); }

  TInterpolationError Result() const
  {
    static_assert(Figures == TErrorFigures::All, "only the extremes were kept");
    assert(d_sums.Count > 0);
    TInterpolationError error;
    error.PeakToPeak = PeakToPeak();
    error.MaxAbs = MaxAbs();
    error.Mean = d_sums.Sum / d_sums.Count;
    error.Rms = std::sqrt(d_sums.Squares / d_sums.Count);
    d_sums.Harmonics.Solve(d_sums.Count, error.Harmonics);
    return error;
  }

private:
  struct TSums
  {
    explicit TSums(TAngleSpacing Spacing) : Harmonics(Spacing) {}
    void Add(const THarmonicAngle &Angle, double Delta)
    {
      ++Count;
      Sum += Delta;
      Squares += Delta * Delta;
      Harmonics.Add(Angle, Delta);
    }
    long Count = 0;
    double Sum = 0.0, Squares = 0.0;
    THarmonicSums Harmonics;
  };
  struct TNoSums
  {
    explicit TNoSums(TAngleSpacing) {}
  };

  void AddExtremes(double Delta)
  {
    d_low = std::min(d_low, Delta);
    d_high = std::max(d_high, Delta);
  }

  double d_low = INFINITY, d_high = -INFINITY;
  std::conditional_t<Figures == TErrorFigures::All, TSums, TNoSums> d_sums;
};

#endif
