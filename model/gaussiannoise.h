#ifndef GAUSSIANNOISE_H
#define GAUSSIANNOISE_H

#include <cmath>
#include <cstdint>

// SplitMix64's output function: spreads neighbouring seeds and stream
// numbers over unrelated states.
inline std::uint64_t SplitMix64(std::uint64_t State)
{
  std::uint64_t z = State + 0x9E3779B97F4A7C15ULL;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

// Standard normal numbers from a seed and a stream number, the same on
// every machine: SplitMix64 counts through its states and Box and
// Muller's transform turns each two outputs into two numbers, the cosine
// one first. A few bytes of state, so a generator per channel is cheap.
class TGaussianNoise
{
public:
  TGaussianNoise(std::uint64_t Seed, std::uint64_t Stream)
      : d_state(SplitMix64(Seed ^ SplitMix64(Stream)))
  {}

  double Next()
  {
    if (d_has_spare) {
      d_has_spare = false;
      return d_spare;
    }
    // u in (0, 1], so the logarithm is finite.
    const double u = (static_cast<double>(Draw() >> 11) + 1.0) * 0x1.0p-53;
    const double v = static_cast<double>(Draw() >> 11) * 0x1.0p-53;
    const double radius = std::sqrt(-2.0 * std::log(u));
    const double angle = 6.283185307179586 * v;
    d_spare = radius * std::sin(angle);
    d_has_spare = true;
    return radius * std::cos(angle);
  }

private:
  std::uint64_t Draw()
  {
    d_state += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = d_state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }

  std::uint64_t d_state;
  double d_spare = 0.0;
  bool d_has_spare = false;
};

#endif
