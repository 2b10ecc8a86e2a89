#ifndef GAUSSIANNOISE_H
#define GAUSSIANNOISE_H

#include <cstdint>
#include <random>

// SplitMix64's output function: spreads neighbouring seeds and stream
// numbers over unrelated states.
inline std::uint64_t SplitMix64(std::uint64_t State)
{
  std::uint64_t z = State + 0x9E3779B97F4A7C15ULL;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

// Standard normal numbers from a seed and a stream number. Each stream has
// a generator of its own, so one channel's noise never depends on how many
// numbers another drew.
class TGaussianNoise
{
public:
  TGaussianNoise(std::uint64_t Seed, std::uint64_t Stream)
      : d_generator(SplitMix64(Seed ^ SplitMix64(Stream)))
  {}

  double Next() { return d_normal(d_generator); }

  // Count numbers times Scale into Out, the same as Count calls of Next.
  void Fill(double *Out, int Count, double Scale)
  {
    for (int i = 0; i < Count; ++i)
      Out[i] = Scale * Next();
  }

private:
  std::mt19937_64 d_generator;
  std::normal_distribution<double> d_normal;
};

#endif
