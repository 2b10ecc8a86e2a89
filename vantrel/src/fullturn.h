#ifndef FULLTURN_H
#define FULLTURN_H

// One signal period in radians: a 15-digit decimal a few units in the last
// place above 2 pi. The channels' tables and the interpolator's sampling
// both step with it, so their angles agree to the last bit.
const double full_turn = 6.28318530717959;

#endif
