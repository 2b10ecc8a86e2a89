#ifndef GRAPHWIDGET_H
#define GRAPHWIDGET_H

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>
#include <vector>

#include "graphdataset.h"
#include "graphmapping.h"
#include "graphticks.h"
#include "vector2.h"

class QPainter;

// One line of a graph's legend: a stroke in the curve's colour, or two of
// its crosses for a curve drawn as points, then text. With a valid Second
// colour the stroke's second half, or the second cross, takes it: one
// line names a pair of curves.
struct TLegendEntry
{
  QString Text;
  QColor Color;
  TGraphStyle Style = TGraphStyle::Lines;
  QColor Second = QColor();
};

// A general-purpose plotting widget: data sets, automatic fitting, tick
// labels, a cached rendering, mouse zoom and pan and a coordinate readout.
// Data operations never repaint; call Replot() after changing anything.
class TGraphWidget : public QWidget
{
  Q_OBJECT

public:
  explicit TGraphWidget(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
  ~TGraphWidget() override;

  // Appends an empty data set and returns its index.
  int AddDataSet(const QColor &Color, int Style);
  int AddDataSet(const QColor &Color, TGraphStyle Style)
  {
    return AddDataSet(Color, static_cast<int>(Style));
  }
  // Removes a data set; later data sets move down one index.
  bool DeleteDataSet(int Offset);
  void ClearDataSets();

  bool AddPoint(int Set, const TVector2 &Point);
  bool SetPoint(int Set, int Offset, const TVector2 &Point);
  // Removes a point; the data set stays even when it becomes empty.
  bool DeletePoint(int Set, int Offset);
  int PointCount(int Set) const;
  TVector2 Point(int Set, int Offset) const;

  // The fit always shows [-Extent, +Extent] vertically; a value that is
  // not positive stores 5e-5.
  void SetMinimumYExtent(double Extent);
  // Gives both axes one scale, so circles are drawn round.
  void SetEqualAspect(bool Equal);
  // Starts the fitted vertical range at zero, for counts (off by default:
  // the range is then symmetric about zero at least).
  void SetYFromZero(bool FromZero);
  // How the axes are ticked and labelled; TTickRule::Window by default.
  void SetTickRule(TTickRule Rule);
  // A legend in a top corner of the plot, one line per entry; none by
  // default or when the list is empty. It is left out of a plot it would
  // mostly cover: more than half its height or two thirds of its width.
  void SetLegend(const std::vector<TLegendEntry> &Entries, Qt::Corner Corner = Qt::TopRightCorner);

  void SetTitle(const QString &Title);
  void SetHTitle(const QString &Title);
  void SetVTitle(const QString &Title);

  // Fits the view to the data, renders the cached pixmap anew and
  // schedules a repaint. Does nothing before the first resize.
  void Replot();

  // Draw the whole graph onto a caller's painter (which must not be null)
  // inside Target, in the painter's font, viewport and transformation,
  // without filling the background; Border draws a frame round Target.
  // The widget's own layout, mapping, text height, border flag and
  // titles are left as they were. The Untitled variant leaves the three
  // titles out and packs the plot closer to the edges. Both return true.
  bool RenderToDevice(QPainter *Device, const QRect &Target, bool Border);
  bool RenderToDeviceUntitled(QPainter *Device, const QRect &Target, bool Border);

  // One of 97 standard colours: six hues in sixteen brightness levels,
  // then black. An index outside 0 ... 96 gives zeros and false.
  static bool StandardColor(int Index, int *r, int *g, int *b);

  // Read-only views for callers and tests.
  int DataSetCount() const { return static_cast<int>(d_DataSets.size()); }
  const TDataSet &DataSet(int Set) const;
  const QString &Title() const { return d_Title; }
  const QString &HTitle() const { return d_HTitle; }
  const QString &VTitle() const { return d_VTitle; }
  bool EqualAspect() const { return d_EqualAspect; }
  double MinimumYExtent() const { return d_MinimumYExtent; }
  const QString &CursorText() const { return d_CursorText; }
  const QPixmap &Pixmap() const { return d_Pixmap; }

  // The layout and mapping of the last rendering.
  const QRect &PlotRect() const { return d_PlotRect; }
  const QRect &VLabelRect() const { return d_VLabelRect; }
  const QRect &VTitleRect() const { return d_VTitleRect; }
  const QRect &HLabelRect() const { return d_HLabelRect; }
  const QRect &HTitleRect() const { return d_HTitleRect; }
  const QRect &TitleRect() const { return d_TitleRect; }
  const QRect &FullRect() const { return d_FullRect; }
  const TGraphMapping &Mapping() const { return d_Map; }

public slots:
  // Both post a request that the next paint event carries out.
  void ZoomOut();
  void ScaleToFit();

protected:
  void mousePressEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void paintEvent(QPaintEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;

private:
  // Layout and fit.
  void LayOut(int Width, int Height);
  void LayOutForDevice(const QRect &Target, int Unit, bool Untitled);
  // True when the plot rectangle has no width or no height (right <= left
  // or bottom <= top), as in a widget under 8 x 6 text heights. Such a
  // plot is drawn without ticks, tick labels, zero lines and data: only
  // the titles, the border round the whole area and the plot frame
  // remain, and neither frame is drawn while its rectangle is inverted
  // (right < left or bottom < top). Zoom, pan and zoom-out leave its view.
  bool PlotIsDegenerate() const;
  void SetViewToFit();
  void UpdateLabelFormats(QPainter &Painter);

  // Rendering. Replot (above) runs RenderPixmap and schedules a repaint.
  // A new pixmap of the widget's size, the view fitted and drawn into it.
  void RenderPixmap();
  // The existing pixmap filled white and drawn again in the current view.
  void RedrawPixmap();
  // Redraws the pixmap in the view of a pixel rectangle (zoom, pan); no fit.
  void RenderView(const QRect &Rect);
  // Fits the view to the data and draws it onto a caller's painter.
  void DrawGraph(QPainter &Painter);
  // Label formats, then axes, then data, in the current view.
  void DrawView(QPainter &Painter);
  // Ticks, tick labels, zero lines, border, plot frame and titles.
  void DrawAxes(QPainter &Painter);
  // The window's ticks and labels, or those at round steps.
  void DrawWindowTicks(QPainter &Painter);
  void DrawRoundTicks(QPainter &Painter);
  void DrawLegend(QPainter &Painter);
  void PaintLegend(QPainter &Painter, const QRect &Box, int U);
  // The data sets, clipped to the plot.
  void DrawDataSets(QPainter &Painter);
  bool RenderOnto(QPainter *Device, const QRect &Target, bool Border, bool Untitled);

  // Mouse: schedules the repaint of the zoom band's outline.
  void UpdateZoomBand();

  TGraphMapping d_Map;
  std::vector<TDataSet> d_DataSets;
  QRect d_PlotRect;
  QRect d_VLabelRect;
  QRect d_VTitleRect;
  QRect d_HLabelRect;
  QRect d_HTitleRect;
  QRect d_TitleRect;
  QRect d_FullRect;
  QString d_VTitle;
  QString d_HTitle;
  QString d_Title;
  QString d_VLabelFormat;
  QString d_HLabelFormat;
  QSize d_VLabelSize;
  QSize d_HLabelSize;
  int d_TextHeight;
  int d_DefaultStyle;
  double d_FitXSpan;
  double d_FitYSpan;
  QPixmap d_Pixmap;
  QString d_CursorText;
  QRect d_ZoomRect;
  bool d_ZoomBandVisible;
  bool d_ZoomArmed;
  bool d_ZoomDragged;
  bool d_PanArmed;
  bool d_PanDragged;
  bool d_DrawBorder;
  bool d_ScaleToFitRequest;
  bool d_ZoomOutRequest;
  int d_HScaleMode;
  int d_VScaleMode;
  double d_MinimumYExtent;
  bool d_EqualAspect;
  bool d_YFromZero;
  TTickRule d_TickRule;
  std::vector<TLegendEntry> d_Legend;
  Qt::Corner d_LegendCorner = Qt::TopRightCorner;
  // The legend's widest text in the font last used, and the box as last
  // drawn onto the widget's pixmap.
  QFont d_LegendFont;
  int d_LegendWidest = -1;
  QPixmap d_LegendImage;
};

#endif
