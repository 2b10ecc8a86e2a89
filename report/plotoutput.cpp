#include "plotoutput.h"

#include "checkedwriter.h"
#include "messages.h"
#include "plotfile.h"

QString DrawPlot(TGraphWidget &Graph, const QString &Path, const QSize &Size, QIODevice &Device)
{
  TPlotFormat format = TPlotFormat::Png;
  PlotFormatForPath(Path, format);  // the options have checked the extension
  if (WritePlot(Graph, format, Size, Device))
    return QString();
  auto *writer = dynamic_cast<TCheckedWriter *>(&Device);
  if (writer && writer->Failed())
    return CannotWrite(Path, writer->Finish());
  return QString("cannot draw %1").arg(Path);
}
