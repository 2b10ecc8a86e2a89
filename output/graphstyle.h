#ifndef GRAPHSTYLE_H
#define GRAPHSTYLE_H

#include <QColor>

#include "graphwidget.h"

// How the window's two graphs are titled, scaled and coloured. The
// report's plots use the same, so that they look as in the window.

// The scope always shows the full signal range; the error graph at least
// a micrometre either way.
const double ScopeMinimumYExtent = 1.0;
const double ErrorMinimumYExtent = 0.001;

const QColor ChannelAColor(128, 0, 0);
const QColor ChannelBColor(0, 128, 0);
// The XY figure and the interpolation error.
const QColor FigureColor(0, 0, 128, 255);

// Vertical title, horizontal title, then the title, in either mode.
inline void SetScopeTitles(TGraphWidget &Scope, bool XY)
{
  Scope.SetVTitle(XY ? "Channel B (COS)" : "Signal");
  Scope.SetHTitle(XY ? "Channel A (SIN)" : "Channel AB Radian Position");
  Scope.SetTitle(XY ? "Oscilloscope - XY Mode" : "Oscilloscope - Dual Channel Mode");
}

inline void SetErrorGraphTitles(TGraphWidget &Graph)
{
  Graph.SetVTitle("Interpolation Error");
  Graph.SetHTitle("Scale Position");
  Graph.SetTitle("Scale Interpolation Data");
}

#endif
