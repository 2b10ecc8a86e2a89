#ifndef GRAPHSTYLE_H
#define GRAPHSTYLE_H

#include <QColor>

#include "fixedtexts.h"
#include "graphwidget.h"

// How the graphs are titled, scaled, coloured and drawn. The window's two
// graphs and the report's plots of them use the same, so that they look
// as in the window; the capture's and the study's plots add their own
// colours in the same palette.

// The scope always shows the full signal range; the error graph at least
// a micrometre either way.
const double ScopeMinimumYExtent = 1.0;
const double ErrorMinimumYExtent = 0.001;

const QColor ChannelAColor(128, 0, 0);
const QColor ChannelBColor(0, 128, 0);
// The XY figure and the interpolation error.
const QColor FigureColor(0, 0, 128, 255);
// Every curve of the window's graphs is drawn in the default style.
const TGraphStyle CurveStyle = TGraphStyle::Default;

// A capture's samples, light so the fitted ellipse stays visible over
// them, and the ellipse.
const QColor SampleColor(150, 160, 230);
const QColor FittedColor(200, 0, 0);
// A capture's measured error and a study's histogram.
const QColor MeasuredColor(0, 0, 128);
const TGraphStyle SampleStyle = TGraphStyle::Crosses;
const TGraphStyle FittedStyle = TGraphStyle::Lines;
const TGraphStyle HistogramStyle = TGraphStyle::Bars;
// A study's limit over its histogram.
const QColor LimitColor(200, 0, 0);
const TGraphStyle LimitStyle = TGraphStyle::Lines;

// The report's plots, unlike the window's graphs, tick their axes at round
// steps; a legend, where one is wanted, is set after this.
inline void SetReportAxes(TGraphWidget &Graph)
{
  Graph.SetTickRule(TTickRule::RoundSteps);
  Graph.SetLegend({});
  Graph.SetYFromZero(false);
  Graph.SetEqualAspect(false);
}

// A report's error plot follows its data down to this (1 pm), where the
// window's graph keeps ErrorMinimumYExtent.
const double ReportErrorMinimumYExtent = 1e-9;

// A measured capture beside the window's simulation: crosses, against the
// simulation's lines, in hues and lightness of their own (orange and sky
// blue against dark red, dark green and navy), so that print and readers
// who do not tell red from green by colour still tell them apart. The
// fitted ellipse over the samples in reddish purple.
const QColor MeasuredAColor(230, 159, 0);
const QColor MeasuredBColor(86, 180, 233);
const QColor MeasuredFigureColor = MeasuredAColor;
const QColor FittedFigureColor(204, 121, 167);
const TGraphStyle MeasuredStyle = TGraphStyle::Crosses;
// A check's verdict: green, red, and grey for one the uncertainty leaves
// open.
const QColor PassColor(0, 128, 0);
const QColor FailColor(192, 0, 0);
const QColor UndecidedColor(112, 112, 112);

// Vertical title, horizontal title, then the title, in either mode.
inline void SetScopeTitles(TGraphWidget &Scope, bool XY)
{
  Scope.SetVTitle(XY ? ChannelLabel(1) : "Signal");
  Scope.SetHTitle(XY ? ChannelLabel(0) : "Channel AB Radian Position");
  Scope.SetTitle(XY ? "Oscilloscope - XY Mode" : "Oscilloscope - Dual Channel Mode");
}

inline void SetErrorGraphTitles(TGraphWidget &Graph)
{
  Graph.SetVTitle("Interpolation Error");
  Graph.SetHTitle("Scale Position");
  Graph.SetTitle("Scale Interpolation Data");
}

#endif
