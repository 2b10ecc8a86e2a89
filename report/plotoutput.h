#ifndef PLOTOUTPUT_H
#define PLOTOUTPUT_H

#include <QSize>
#include <QString>

class QIODevice;
class TGraphWidget;

// Draws Graph into Device, a plot file opened by the output transaction,
// in the format Path's extension names. Empty when it is drawn, else the
// problem line: the device's write failure, or that the graph could not
// be drawn.
QString DrawPlot(TGraphWidget &Graph, const QString &Path, const QSize &Size, QIODevice &Device);

#endif
