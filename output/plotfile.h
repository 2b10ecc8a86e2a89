#ifndef PLOTFILE_H
#define PLOTFILE_H

#include <QSize>
#include <QString>
#include <vector>

#include "encoderchannel.h"
#include "vector2.h"

class QIODevice;
class TGraphWidget;

enum class TPlotFormat
{
  Png,
  Svg,
  Pdf
};

// The format a file name's extension asks for; false for any other.
bool PlotFormatForPath(const QString &Path, TPlotFormat &Format);

// The window's error graph for a report: its curve colour, titles with
// units, ticks at round steps and a vertical range that follows the data.
void ShowErrorGraph(TGraphWidget &Graph, const std::vector<TVector2> &Points);
// The window's oscilloscope view of both channels' sample tables, dual
// channel (with a legend naming them) or XY, for a report.
void ShowScope(TGraphWidget &Graph, const TEncoderChannel &A, const TEncoderChannel &B, bool XY);

// Draws the graph, never shown, at Size pixels (a PNG is exactly that; an
// SVG or PDF page has that size at 96 dots per inch). False when the
// device refuses the data.
bool WritePlot(TGraphWidget &Graph, TPlotFormat Format, const QSize &Size, QIODevice &Device);

#endif
