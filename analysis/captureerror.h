#ifndef CAPTUREERROR_H
#define CAPTUREERROR_H

#include <algorithm>
#include <cassert>
#include <cstddef>

#include "angles.h"

// The measured error of a capture sample: the interpolator's angle of the
// raw pair less the corrected angle, wrapped into (-pi, pi]; positive where
// the interpolator runs ahead of the scale. The corrected angle may be given
// in either turn, 0 ... 2 pi or -pi ... pi. The reports, the plots and the
// window all take the error from here.
inline double MeasuredError(double RawAngle, double CorrectedAngle)
{
  return WrappedAngle(RawAngle - CorrectedAngle);
}

// An angle followed over its turns: each step from the angle added last is
// taken the shorter way round, so samples less than half a period apart
// give a continuous angle.
class TUnwrappedAngle
{
public:
  // Starts at Start, with Angle as the angle added last.
  TUnwrappedAngle(double Start, double Angle)
      : d_value(Start), d_previous(Angle), d_low(Start), d_high(Start)
  {}

  // The step from the angle added last to Angle.
  double Step(double Angle) const { return WrappedAngle(Angle - d_previous); }
  void Add(double Angle)
  {
    d_value += Step(Angle);
    d_previous = Angle;
    d_low = std::min(d_low, d_value);
    d_high = std::max(d_high, d_value);
  }
  double Value() const { return d_value; }
  double Low() const { return d_low; }
  double High() const { return d_high; }

private:
  double d_value, d_previous, d_low, d_high;
};

#endif
