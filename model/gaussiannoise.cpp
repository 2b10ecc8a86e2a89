#include "gaussiannoise.h"

#include <cmath>

namespace {

// Start of the tail and the area of each layer, for 128 layers.
const double TailStart = 3.442619855899;
const double LayerArea = 9.91256303526217e-3;
// Points are signed 25-bit numbers.
const double PointScale = 16777216.0;  // 2^24

}  // namespace

TZigguratTables::TZigguratTables()
{
  double d = TailStart, t = TailStart;
  const double q = LayerArea / std::exp(-0.5 * d * d);
  Bound[0] = static_cast<std::int32_t>((d / q) * PointScale);
  Bound[1] = 0;
  Width[0] = q / PointScale;
  Width[127] = d / PointScale;
  Height[0] = 1.0;
  Height[127] = std::exp(-0.5 * d * d);
  for (int i = 126; i >= 1; --i) {
    d = std::sqrt(-2.0 * std::log(LayerArea / d + std::exp(-0.5 * d * d)));
    Bound[i + 1] = static_cast<std::int32_t>((d / t) * PointScale);
    t = d;
    Height[i] = std::exp(-0.5 * d * d);
    Width[i] = d / PointScale;
  }
}

const TZigguratTables Ziggurat;

double TGaussianNoise::Uniform()
{
  return (static_cast<double>(Draw() >> 32) + 0.5) * 0x1.0p-32;
}

double TGaussianNoise::Slow(std::int32_t Point, int Layer)
{
  for (;;) {
    const double x = Point * Ziggurat.Width[Layer];
    if (Layer == 0) {
      // The tail beyond TailStart, by Marsaglia's exponential method.
      double tail, y;
      do {
        tail = -std::log(Uniform()) / TailStart;
        y = -std::log(Uniform());
      } while (y + y < tail * tail);
      return Point > 0 ? TailStart + tail : -TailStart - tail;
    }
    const double height = Ziggurat.Height[Layer];
    if (height + Uniform() * (Ziggurat.Height[Layer - 1] - height) < std::exp(-0.5 * x * x))
      return x;
    const std::uint32_t bits = static_cast<std::uint32_t>(Draw());
    Layer = static_cast<int>(bits & 127u);
    Point = static_cast<std::int32_t>(bits) >> 7;
    if (std::abs(Point) < Ziggurat.Bound[Layer])
      return Point * Ziggurat.Width[Layer];
  }
}
