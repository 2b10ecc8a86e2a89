#ifndef ANGLES_H
#define ANGLES_H

#include <cmath>

// One signal period in radians as the window's model steps it: a 15-digit
// decimal a few units in the last place above 2 pi. The channels' tables
// and the interpolator's sampling both step with it, so their angles agree
// to the last bit.
const double full_turn = 6.28318530717959;

// The doubles nearest pi and 2 pi, for the analysis of the interpolated
// angle.
const double Pi = 3.141592653589793;
const double TwoPi = 6.283185307179586;

// An angle into (-pi, pi], as the exact IEEE remainder gives it. Within a
// turn and a half either way, the common case of a difference of two
// angles in 0 ... 2 pi, one subtraction is exact and far cheaper.
inline double WrappedAngle(double Angle)
{
  const auto remainder = [](double Value) {
    const double r = std::remainder(Value, TwoPi);
    return r <= -Pi ? r + TwoPi : r;
  };
  if (Angle > Pi) {
    const double wrapped = Angle - TwoPi;
    return wrapped > Pi ? remainder(Angle) : wrapped;
  }
  if (Angle <= -Pi) {
    const double wrapped = Angle + TwoPi;
    return wrapped <= -Pi ? remainder(Angle) : wrapped;
  }
  return Angle;
}

#endif
