#ifndef GRAPHFIT_H
#define GRAPHFIT_H

#include <QRect>
#include <vector>

#include "graphdataset.h"
#include "graphmapping.h"

// How a fit treats the data.
struct TFitSettings
{
  double MinimumYExtent;  // the y range always holds -E ... +E
  bool EqualAspect;       // one scale for both axes
  // The y range starts at zero, with no margin below: for counts.
  bool YFromZero = false;
};

// The view chosen to show every point of every data set.
struct TGraphFit
{
  double XMin, XMax, YMin, YMax;  // shown ranges, margins included
  double XSpan, YSpan;            // spans before the margins
  TGraphMapping Map;              // the ranges onto the plot rectangle
};

// Coordinates beyond this are fitted as if they lay on it, so that spans,
// margins and the equal-aspect product stay finite.
const double FitLimit = 1e290;

// Fits a view to the data sets on the given plot rectangle, with a margin
// of a fiftieth of each span on each side. Points with a NaN or infinite
// coordinate are ignored. Every span of the result is
// positive and finite, whatever the data or the plot's shape.
TGraphFit FitView(const std::vector<TDataSet> &Sets, const TFitSettings &Settings,
                  const QRect &Plot);

// Widens a range narrower than 1e-5 by 5e-6 on each side, so a view
// never collapses onto a single value.
void WidenNarrowRange(double &Lo, double &Hi);

// Widens a range that rounding has left empty (hi <= lo): adding 5e-6 to
// a coordinate near 1e12 changes nothing, so the widening is relative to
// the coordinates' magnitude there. A non-empty range stays as it is.
void WidenEmptyRange(double &Lo, double &Hi);

#endif
