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
  // forward and back; returns (true position, error) for every sample and
  // sets *Error when the counter misses the pitch or does not come back.
  std::vector<TVector2> Evaluate(const double &Distance,
                                 const TEncoderChannel &A,
                                 const TEncoderChannel &B, bool *Error) const;

  // Angle of a (sine, cosine) pair in 0 ... 2 pi.
  static double Angle(const double &Sine, const double &Cosine);
  // +1, -1 or 0: whether Angle has moved a whole Step ahead of or behind
  // Reference, the shorter way round the circle.
  static int StepDirection(const double &Angle, const double &Reference,
                           const double &Step);

  int d_data_size;
  int d_interpolator_count;
};

#endif
