#ifndef SIGNALRANGE_H
#define SIGNALRANGE_H

// What the channels and the interpolator share about the signals.

// One signal period in radians: a 15-digit decimal a few units in the last
// place above 2 pi. The channels' tables and the interpolator's sampling
// both step with it, so their angles agree to the last bit.
const double full_turn = 6.28318530717959;

// Clips a signal value to the normalised range -1 ... +1; the bounds and
// NaN pass unchanged.
inline double Limited(const double &Value)
{
  if (Value > 1.0)
    return 1.0;
  if (Value < -1.0)
    return -1.0;
  return Value;
}

#endif
