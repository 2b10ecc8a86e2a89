#include "samplethinning.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace {

// The fractional part of k times the golden ratio: consecutive k spread
// evenly over 0 ... 1, and no block length that is a multiple or a simple
// fraction of the period lines them up with it.
double Spread(std::size_t K)
{
  const double golden = 0.6180339887498949;
  const double x = static_cast<double>(K) * golden;
  return x - std::floor(x);
}

}  // namespace

std::vector<std::size_t> DrawnSamples(std::size_t Size, std::size_t Maximum,
                                      const TSampleMask &Outlier)
{
  assert(Maximum > 0);
  assert(Outlier.empty() || Outlier.size() == Size);
  std::vector<std::size_t> drawn;
  drawn.reserve(std::min(Size, Maximum));
  // Block k runs from sample k Size / Maximum to the next block's first:
  // the blocks' lengths differ by one at most, so the drawn samples are as
  // dense everywhere as the capture's, and a capture of Maximum samples
  // or fewer has one or none in each block: all drawn.
  std::size_t outliers = 0;
  for (std::size_t k = 0; k < Maximum; ++k) {
    const std::size_t start = k * Size / Maximum;
    const std::size_t end = (k + 1) * Size / Maximum;
    const std::size_t pick = start + static_cast<std::size_t>(Spread(k) * (end - start));
    for (std::size_t i = start; i < end; ++i) {
      const bool outlier = !Outlier.empty() && Outlier[i] && outliers < Maximum;
      if (outlier)
        ++outliers;
      if (outlier || i == pick)
        drawn.push_back(i);
    }
  }
  return drawn;
}
