#ifndef ENCODERINTERPOLATOR_H
#define ENCODERINTERPOLATOR_H

#include <vector>

#include "encoderchannel.h"
#include "vector2.h"

// An arctangent interpolator with an up/down counter, run over one scale
// pitch forward and back to measure its position error.
class TEncoderInterpolator
{
public:
  TEncoderInterpolator();
  ~TEncoderInterpolator();

  void SetInterpolatorCount(const int Count);

  // Samples the sine channel A and the cosine channel B over one pitch
  // (distance) forward and back; returns (true position, error) for every
  // sample, forward points first, and sets *error when the counter misses
  // the pitch or does not come back to zero. Only Value() of the channels
  // is used.
  std::vector<TVector2> Evaluate(const double &distance, const TEncoderChannel &A,
                                 const TEncoderChannel &B, bool *error) const;
  // The same run over any channels with a Value(angle): the window's
  // (const TEncoderChannel) or the report's TSignalChannel, whose values
  // draw noise. A's values are asked for in the order of the samples, and
  // so are B's.
  template <class TChannel>
  std::vector<TVector2> EvaluateChannels(const double &distance, TChannel &A, TChannel &B,
                                         bool *error) const;

  // Angle of a (sine, cosine) pair in 0 ... 2 pi.
  static double Angle(const double &Sine, const double &Cosine);
  // +1, -1 or 0: whether Angle has moved a whole Step ahead of or behind
  // Reference, the shorter way round the circle.
  static int StepDirection(const double &Angle, const double &Reference, const double &Step);

  // Samples per interpolation count; stays 5.
  int d_data_size;
  // Interpolation counts per scale pitch.
  int d_interpolator_count;
};

// Interpolation counts per pitch for a scale pitch and an interpolated
// resolution: Pitch / Resolution rounded to the nearest whole count,
// halves upward (a half is added and the sum truncated). Callers check
// that both are positive and that the count is at least 2.
int InterpolationCount(const double &Pitch, const double &Resolution);
// Whether that count lies in MinimumCount ... MaximumCount; false for
// NaN.
bool CountInRange(const double &Pitch, const double &Resolution);

#endif
