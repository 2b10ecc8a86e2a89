#ifndef GRAPHDATASET_H
#define GRAPHDATASET_H

#include <QColor>
#include <vector>

#include "vector2.h"

// How a curve is drawn; the values are those of TDataSet::Style.
enum class TGraphStyle : int
{
  Default = 0,  // the widget's default, lines
  Lines = 1,
  Bars = 2,
  Crosses = 3,
};

// A cross is 7 x 7 pixels: 3 on each side of the point's pixel.
const int GraphCrossArm = 3;

// One curve of a graph.
struct TDataSet
{
  std::vector<TVector2> Points;  // in insertion order, data coordinates
  QColor Color;                  // pen colour
  int Style;                     // 0 default, 1 lines, 2 bars, 3 crosses
};

#endif
