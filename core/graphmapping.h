#ifndef GRAPHMAPPING_H
#define GRAPHMAPPING_H

// Affine data-to-pixel mapping of a graph: column = m11 * x + dx,
// row = m22 * y + dy. m12 and m21 are kept for the record layout and
// always hold 0.
struct TGraphMapping
{
  double m11 = 1.0;
  double m12 = 0.0;
  double m21 = 0.0;
  double m22 = -1.0;
  double dx = 0.0;
  double dy = 0.0;

  double MapX(double x) const { return m11 * x + dx; }
  double MapY(double y) const { return m22 * y + dy; }
  double UnmapX(double column) const { return (column - dx) / m11; }
  double UnmapY(double row) const { return (row - dy) / m22; }
};

#endif
