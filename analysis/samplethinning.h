#ifndef SAMPLETHINNING_H
#define SAMPLETHINNING_H

#include <cstddef>
#include <vector>

#include "ellipsefit.h"

// The samples a graph draws of a capture too long to draw whole, in
// ascending order: one sample of each of Maximum blocks of (nearly) one
// length, placed within its block by a low-discrepancy sequence so that
// no sampling rate, however evenly it divides the signal period, gathers
// them at a few angles; and the first Maximum samples Outlier flags
// besides (empty: none), as a glitch is worth seeing. All samples when
// Size <= Maximum.
std::vector<std::size_t> DrawnSamples(std::size_t Size, std::size_t Maximum,
                                      const TSampleMask &Outlier);

#endif
