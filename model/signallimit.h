#ifndef SIGNALLIMIT_H
#define SIGNALLIMIT_H

// Clips a signal value to the normalised range -1 ... +1; the bounds and
// NaN pass unchanged. The channels limit what they deliver and the
// interpolator limits what it is given.
inline double Limited(const double &Value)
{
  if (Value > 1.0)
    return 1.0;
  if (Value < -1.0)
    return -1.0;
  return Value;
}

#endif
