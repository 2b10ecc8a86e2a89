#ifndef GRAPHMAPPING_H
#define GRAPHMAPPING_H

#include <QRect>
#include <algorithm>

// Affine data-to-pixel mapping of a graph: column = m11 * x + dx,
// row = m22 * y + dy. m12 and m21 are kept for the record layout and
// always hold 0. The fit, the zoom and the drawing all go through it.
struct TGraphMapping
{
  double m11 = 1.0;
  double m12 = 0.0;
  double m21 = 0.0;
  double m22 = -1.0;
  double dx = 0.0;
  double dy = 0.0;

  // Pixel coordinates handed to the painter stay within this distance
  // of the origin, so truncation to int never overflows and the paint
  // engine's fixed-point arithmetic has room to spare.
  static constexpr double PixelLimit = 4194304.0;  // 2^22

  // Maps [xmin, xmax] onto the plot's left ... right columns and
  // [ymin, ymax] onto its bottom ... top rows. The ranges must have
  // positive finite spans. A plot without extent (right <= left or
  // bottom <= top) is treated as one pixel wide or high, so the mapping
  // stays invertible and unmapping its edges never divides by zero.
  static TGraphMapping FromRanges(double xmin, double xmax, double ymin, double ymax,
                                  const QRect &plot)
  {
    const double width = std::max(plot.right() - plot.left(), 1);
    const double height = std::max(plot.bottom() - plot.top(), 1);
    TGraphMapping map;
    map.m11 = width / (xmax - xmin);
    map.m22 = -height / (ymax - ymin);
    map.dx = plot.left() - map.m11 * xmin;
    map.dy = plot.bottom() - map.m22 * ymin;
    return map;
  }

  double MapX(double x) const { return m11 * x + dx; }
  double MapY(double y) const { return m22 * y + dy; }
  double UnmapX(double column) const { return (column - dx) / m11; }
  double UnmapY(double row) const { return (row - dy) / m22; }

  // Truncates toward zero after clamping to +-PixelLimit; NaN gives
  // -PixelLimit, far outside any plot.
  static int Pixel(double v)
  {
    if (!(v > -PixelLimit))
      return -static_cast<int>(PixelLimit);
    if (v > PixelLimit)
      return static_cast<int>(PixelLimit);
    return static_cast<int>(v);
  }
  int Column(double x) const { return Pixel(MapX(x)); }
  int Row(double y) const { return Pixel(MapY(y)); }

  // Cuts the data segment (x0, y0)-(x1, y1), finite coordinates, to the
  // part whose pixels lie within +-PixelLimit. A segment already inside
  // is left untouched, so ordinary lines are drawn exactly; one reaching
  // far out keeps its direction instead of being bent by clamping each
  // end on its own. Returns false when no part of it lies inside.
  bool ClipSegment(double &x0, double &y0, double &x1, double &y1) const;
};

#endif
