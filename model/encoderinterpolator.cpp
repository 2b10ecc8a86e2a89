#include "encoderinterpolator.h"

#include "angles.h"
#include "parameterranges.h"
#include "signalchain.h"
#include "signallimit.h"

#include <cassert>
#include <cmath>

namespace {
// Smallest accepted distance and the tolerance of every count decision.
const double zero_epsilon = 1e-9;
// Below this a cosine is replaced by it, keeping its sign, so the quotient
// in Angle stays finite.
const double near_zero_cosine = 1e-10;

double Wrapped(double Angle)
{
  while (Angle > full_turn)
    Angle -= full_turn;
  while (Angle < 0.0)
    Angle += full_turn;
  return Angle;
}

// The count before truncation. Both are positive here, so adding a half
// and truncating rounds halves upward. For the window's own pitches and
// resolutions the quotient is a whole number in doubles, so truncating
// alone would give the same.
double UntruncatedCount(const double &Pitch, const double &Resolution)
{
  return Pitch / Resolution + 0.5;
}

}  // namespace

int InterpolationCount(const double &Pitch, const double &Resolution)
{
  return static_cast<int>(UntruncatedCount(Pitch, Resolution));
}

bool CountInRange(const double &Pitch, const double &Resolution)
{
  // Checked before the truncation, which could overflow an int.
  const double count = UntruncatedCount(Pitch, Resolution);
  return count >= MinimumCount && count < MaximumCount + 1;
}

TEncoderInterpolator::TEncoderInterpolator() : d_data_size(5), d_interpolator_count(10) {}

TEncoderInterpolator::~TEncoderInterpolator() {}

void TEncoderInterpolator::SetInterpolatorCount(const int Count)
{
  d_interpolator_count = Count;
}

std::vector<TVector2> TEncoderInterpolator::Evaluate(const double &distance,
                                                     const TEncoderChannel &A,
                                                     const TEncoderChannel &B, bool *error) const
{
  return EvaluateChannels(distance, A, B, error);
}

template <class TChannel>
std::vector<TVector2> TEncoderInterpolator::EvaluateChannels(const double &distance, TChannel &A,
                                                             TChannel &B, bool *error) const
{
  assert(d_data_size > 0);
  assert(d_interpolator_count > 0);
  assert(distance > zero_epsilon);
  assert(error);
  *error = false;

  const int samples = d_data_size * d_interpolator_count;
  const double angle_step = full_turn / samples;
  const double count_angle = full_turn / d_interpolator_count;
  const double position_step = distance / samples;
  const double count_size = distance / d_interpolator_count;

  std::vector<TVector2> points;
  points.reserve(2 * static_cast<size_t>(samples));

  // Half a step before zero, so the samples straddle the count edges at
  // whole count angles instead of landing on them.
  double theta = -0.5 * angle_step;
  double reference = 0.0;
  double position = 0.0;
  double counted = 0.0;

  for (int i = 0; i < samples; ++i) {
    const double phi = Angle(A.Value(theta), B.Value(theta));
    if (i == 0) {
      // The true position starts two steps below the counter, so the error
      // sawtooth of an ideal encoder is centred on zero.
      reference = phi;
      position = 0.0 - (position_step + position_step);
      counted = 0.0;
    } else {
      const int direction = StepDirection(phi, reference, count_angle);
      if (direction < 0) {
        reference -= count_angle;
        counted -= count_size;
      } else if (direction > 0) {
        reference += count_angle;
        counted += count_size;
      }
    }
    points.push_back(TVector2(position, position - counted));
    theta += angle_step;
    position += position_step;
  }

  // An ideal counter ends one count short of the pitch: that count would
  // fall on the next sample.
  if (std::fabs(counted - distance) > count_size + zero_epsilon)
    *error = true;

  for (int i = 0; i < samples; ++i) {
    // Moving back the true angle falls; with the cosine inverted the
    // interpolated angle is mirrored (pi - theta) and rises instead, so each
    // count it gains is one count back along the scale.
    const double phi = Angle(A.Value(theta), -B.Value(theta));
    if (i == 0) {
      reference = phi;
      position = (position_step + position_step) + counted;
    } else {
      const int direction = StepDirection(phi, reference, count_angle);
      if (direction < 0) {
        reference -= count_angle;
        counted += count_size;
      } else if (direction > 0) {
        reference += count_angle;
        counted -= count_size;
      }
    }
    points.push_back(TVector2(position, position - counted));
    theta -= angle_step;
    position -= position_step;
  }

  if (!*error && std::fabs(counted) > count_size + zero_epsilon)
    *error = true;

  return points;
}

template std::vector<TVector2> TEncoderInterpolator::EvaluateChannels(const double &,
                                                                      const TEncoderChannel &,
                                                                      const TEncoderChannel &,
                                                                      bool *) const;
template std::vector<TVector2> TEncoderInterpolator::EvaluateChannels(const double &,
                                                                      TSignalChannel &,
                                                                      TSignalChannel &,
                                                                      bool *) const;

double TEncoderInterpolator::Angle(const double &Sine, const double &Cosine)
{
  const double a = Limited(Sine);
  const double b = Limited(Cosine);
  // Negated test, so a NaN cosine yields NaN rather than an angle.
  if (!(std::fabs(b) < near_zero_cosine)) {
    const double t = std::atan(a / b);
    if (b < 0.0)
      return t + Pi;
    if (a < 0.0)
      return t + TwoPi;
    return t;
  }
  if (b < 0.0)
    return std::atan(a / -near_zero_cosine) + Pi;
  // Zero of either sign counts as a positive cosine.
  const double t = std::atan(a / near_zero_cosine);
  if (a < 0.0)
    return t + TwoPi;
  return t;
}

int TEncoderInterpolator::StepDirection(const double &Angle, const double &Reference,
                                        const double &Step)
{
  double p = Wrapped(Angle);
  double q = Wrapped(Reference);
  // Compare the shorter way round, so an angle just past zero is ahead of
  // a reference just below a full turn, and the reverse.
  if (std::fabs(p - q) > std::fabs(p - (q - full_turn)))
    q = q - full_turn;
  if (std::fabs(q - p) > std::fabs(q - (p - full_turn)))
    p = p - full_turn;

  const double w = std::fabs(Step);
  if (p > (q + w) - zero_epsilon)
    return 1;
  if ((q - w) + zero_epsilon > p)
    return -1;
  return 0;
}
