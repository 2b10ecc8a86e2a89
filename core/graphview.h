#ifndef GRAPHVIEW_H
#define GRAPHVIEW_H

#include <QRect>
#include <QString>

#include "graphmapping.h"

// Arithmetic of the interactive view: zooming into a pixel rectangle,
// the rectangle a zoom-out shows, and the coordinate readout's text.

// A view may span at most this many times the span of the last fit.
const double ZoomOutLimit = 50.0;

// Sets Map so that the data Rect covers in the current Map fill Plot.
// Rect may be given corner by corner in any order. A span beyond the
// zoom-out limit is scaled towards data 0; a span below 1e-5 is widened.
// Returns false and leaves Map as it was when Plot has no extent (right
// <= left or bottom <= top) or no finite view results.
bool ViewFromRect(TGraphMapping &Map, const QRect &Rect, const QRect &Plot, double FitXSpan,
                  double FitYSpan);

// The rectangle of twice the plot's width and height about its centre,
// in whole pixels: viewing it zooms out by two.
QRect ZoomOutRect(const QRect &Plot);

// "x,   y" with five decimals each.
QString ReadoutText(double x, double y);

#endif
