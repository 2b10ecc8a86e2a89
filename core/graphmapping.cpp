#include "graphmapping.h"

#include <cmath>
#include <utility>

namespace {

bool WithinLimit(double v)
{
  return v >= -TGraphMapping::PixelLimit && v <= TGraphMapping::PixelLimit;
}

}  // namespace

bool TGraphMapping::ClipSegment(double &x0, double &y0, double &x1, double &y1) const
{
  if (WithinLimit(MapX(x0)) && WithinLimit(MapY(y0)) && WithinLimit(MapX(x1)) &&
      WithinLimit(MapY(y1)))
    return true;

  // The pixel square in data coordinates.
  double xlo = UnmapX(-PixelLimit), xhi = UnmapX(PixelLimit);
  double ylo = UnmapY(-PixelLimit), yhi = UnmapY(PixelLimit);
  if (xlo > xhi)
    std::swap(xlo, xhi);
  if (ylo > yhi)
    std::swap(ylo, yhi);

  // Liang-Barsky on halved coordinates: differences of halves cannot
  // overflow, even between -1e308 and 1e308.
  const double hx0 = 0.5 * x0, hy0 = 0.5 * y0;
  const double hdx = 0.5 * x1 - hx0, hdy = 0.5 * y1 - hy0;
  double t0 = 0.0, t1 = 1.0;
  // Keeps the part where p * t <= q.
  auto keep = [&t0, &t1](double p, double q) {
    if (p == 0.0)
      return q >= 0.0;
    const double t = q / p;
    if (p < 0.0) {
      if (t > t1)
        return false;
      t0 = std::max(t0, t);
    } else {
      if (t < t0)
        return false;
      t1 = std::min(t1, t);
    }
    return true;
  };
  if (!keep(-hdx, hx0 - 0.5 * xlo) || !keep(hdx, 0.5 * xhi - hx0) || !keep(-hdy, hy0 - 0.5 * ylo) ||
      !keep(hdy, 0.5 * yhi - hy0))
    return false;

  x1 = 2.0 * (hx0 + t1 * hdx);
  y1 = 2.0 * (hy0 + t1 * hdy);
  x0 = 2.0 * (hx0 + t0 * hdx);
  y0 = 2.0 * (hy0 + t0 * hdy);
  return std::isfinite(x0) && std::isfinite(y0) && std::isfinite(x1) && std::isfinite(y1);
}
