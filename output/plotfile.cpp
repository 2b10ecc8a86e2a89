#include "plotfile.h"

#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include "fixedtexts.h"
#include "graphstyle.h"
#include "graphwidget.h"

namespace {

// The screen resolution the window's fonts are laid out for; vector
// files use it too, so every format has the same layout.
const int DotsPerInch = 96;
// The window's tick labels use the desktop's font, 9 point sans serif
// under Qt's generic Linux theme; the offscreen platform would give 12.
const char *const LabelFamily = "Sans Serif";
const int LabelPointSize = 9;

void AddCurve(TGraphWidget &Graph, const QColor &Color, const std::vector<TVector2> &Points)
{
  const int set = Graph.AddDataSet(Color, CurveStyle);
  for (const TVector2 &point : Points)
    Graph.AddPoint(set, point);
}

void Draw(TGraphWidget &Graph, QPaintDevice &Device, const QSize &Size)
{
  QPainter painter(&Device);
  painter.setFont(QFont(LabelFamily, LabelPointSize));
  painter.fillRect(QRect(QPoint(0, 0), Size), Qt::white);
  Graph.RenderToDevice(&painter, QRect(QPoint(0, 0), Size), true);
}

}  // namespace

bool PlotFormatForPath(const QString &Path, TPlotFormat &Format)
{
  const QString suffix = QFileInfo(Path).suffix().toLower();
  if (suffix == "png")
    Format = TPlotFormat::Png;
  else if (suffix == "svg")
    Format = TPlotFormat::Svg;
  else if (suffix == "pdf")
    Format = TPlotFormat::Pdf;
  else
    return false;
  return true;
}

// Colours as in the window; titles that name their units.
void ShowErrorGraph(TGraphWidget &Graph, const std::vector<TVector2> &Points)
{
  Graph.ClearDataSets();
  SetReportAxes(Graph);
  Graph.SetMinimumYExtent(ReportErrorMinimumYExtent);
  Graph.SetVTitle("Interpolation error (mm)");
  Graph.SetHTitle("Scale position (mm)");
  Graph.SetTitle("Interpolation error over the scale");
  AddCurve(Graph, FigureColor, Points);
}

void ShowScope(TGraphWidget &Graph, const TEncoderChannel &A, const TEncoderChannel &B, bool XY)
{
  Graph.ClearDataSets();
  SetReportAxes(Graph);
  Graph.SetMinimumYExtent(ScopeMinimumYExtent);
  Graph.SetEqualAspect(XY);
  // The signals are in units of their nominal amplitude.
  Graph.SetVTitle(XY ? ChannelLabel(1) : "Signal (nominal amplitude = 1)");
  Graph.SetHTitle(XY ? ChannelLabel(0) : "Angle within the scale's periods (rad)");
  Graph.SetTitle(XY ? "Oscilloscope - XY mode" : "Oscilloscope - both channels");
  if (XY) {
    const std::vector<TVector2> a = A.SamplePoints(), b = B.SamplePoints();
    std::vector<TVector2> figure;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
      figure.push_back(TVector2(a[i].y, b[i].y));
    AddCurve(Graph, FigureColor, figure);
  } else {
    AddCurve(Graph, ChannelAColor, A.SamplePoints());
    AddCurve(Graph, ChannelBColor, B.SamplePoints());
    Graph.SetLegend({{ChannelLabel(0), ChannelAColor}, {ChannelLabel(1), ChannelBColor}});
  }
}

bool WritePlot(TGraphWidget &Graph, TPlotFormat Format, const QSize &Size, QIODevice &Device)
{
  switch (Format) {
    case TPlotFormat::Png: {
      QImage image(Size, QImage::Format_RGB32);
      image.setDotsPerMeterX(qRound(DotsPerInch / 0.0254));
      image.setDotsPerMeterY(qRound(DotsPerInch / 0.0254));
      Draw(Graph, image, Size);
      return image.save(&Device, "PNG");
    }
    case TPlotFormat::Svg: {
      QSvgGenerator generator;
      generator.setOutputDevice(&Device);
      generator.setSize(Size);
      generator.setViewBox(QRect(QPoint(0, 0), Size));
      generator.setResolution(DotsPerInch);
      generator.setTitle(Graph.Title());
      Draw(Graph, generator, Size);
      return true;
    }
    case TPlotFormat::Pdf: {
      QPdfWriter writer(&Device);
      writer.setResolution(DotsPerInch);
      writer.setPageSize(
          QPageSize(QSizeF(Size) / DotsPerInch, QPageSize::Inch, QString(), QPageSize::ExactMatch));
      writer.setPageMargins(QMarginsF(0, 0, 0, 0));
      writer.setTitle(Graph.Title());
      Draw(Graph, writer, Size);
      return true;
    }
  }
  return false;
}
