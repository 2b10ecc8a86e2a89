#ifndef GAUSSIANNOISE_H
#define GAUSSIANNOISE_H

#include <cstdint>
#include <cstdlib>

// SplitMix64's output function: spreads neighbouring seeds and stream
// numbers over unrelated states.
inline std::uint64_t SplitMix64(std::uint64_t State)
{
  std::uint64_t z = State + 0x9E3779B97F4A7C15ULL;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

// The ziggurat's layers; worked out once, at start-up.
struct TZigguratTables
{
  // A point below this in magnitude lies inside its layer's rectangle.
  std::int32_t Bound[128];
  // A point's x.
  double Width[128];
  // exp(-x^2 / 2) at each layer's right edge.
  double Height[128];

  TZigguratTables();
};
extern const TZigguratTables Ziggurat;

// Standard normal numbers from a seed and a stream number, the same on
// every machine. SplitMix64 counts through its states; each 64-bit output
// gives two numbers, its low half first, each half by Marsaglia and
// Tsang's ziggurat (128 layers: 7 bits choose the layer, 25 the point).
// The noise runs in the study's inner loop, where a logarithm and a sine
// per number would cost more than the interpolator's arctangent.
class TGaussianNoise
{
public:
  TGaussianNoise(std::uint64_t Seed, std::uint64_t Stream)
      : d_state(SplitMix64(Seed ^ SplitMix64(Stream)))
  {}

  double Next()
  {
    if (d_spare_left) {
      d_spare_left = false;
      return FromBits(d_spare);
    }
    const std::uint64_t bits = Draw();
    d_spare = static_cast<std::uint32_t>(bits >> 32);
    d_spare_left = true;
    return FromBits(static_cast<std::uint32_t>(bits));
  }

  // Count numbers times Scale into Out, the same as Count calls of Next;
  // a pair per output without the spare's bookkeeping.
  void Fill(double *Out, int Count, double Scale)
  {
    int i = 0;
    if (d_spare_left && Count > 0)
      Out[i++] = Scale * Next();
    for (; i + 1 < Count; i += 2) {
      const std::uint64_t bits = Draw();
      Out[i] = Scale * FromBits(static_cast<std::uint32_t>(bits));
      Out[i + 1] = Scale * FromBits(static_cast<std::uint32_t>(bits >> 32));
    }
    if (i < Count)
      Out[i] = Scale * Next();
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

  double FromBits(std::uint32_t Bits)
  {
    const int layer = static_cast<int>(Bits & 127u);
    // The upper 25 bits as a signed number, by an arithmetic shift.
    const std::int32_t point = static_cast<std::int32_t>(Bits) >> 7;
    if (std::abs(point) < Ziggurat.Bound[layer])
      return point * Ziggurat.Width[layer];
    return Slow(point, layer);
  }
  // Outside the layers' rectangles: the wedges and the tail.
  double Slow(std::int32_t Point, int Layer);
  // A uniform number in (0, 1) from 32 fresh bits.
  double Uniform();

  std::uint64_t d_state;
  std::uint32_t d_spare = 0;
  bool d_spare_left = false;
};

#endif
