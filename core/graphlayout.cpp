// Layout of the widget's rectangles, the fit of the view to the data and
// the choice of the tick-label formats.
#include "graphwidget.h"

#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>

#include "graphaxis.h"
#include "graphfit.h"

namespace {

// Label samples end in blanks so that neighbouring labels keep apart.
const int HLabelTrailingBlanks = 2;
const int VLabelTrailingBlanks = 4;

// An empty measurement still gives a size that divides safely.
QSize MeasuredSize(QPainter &Painter, const QString &Text)
{
  const QRect bounds = Painter.boundingRect(QRect(), 0, Text);
  return QSize(std::max(bounds.width(), 1), std::max(bounds.height(), 1));
}

// The format and measured size of one axis's labels, from the data values
// at its low and high plot edges.
void ChooseAxisLabels(QPainter &Painter, double Low, double High, int TrailingBlanks,
                      QString &Format, QSize &Size)
{
  const TLabelFormat format =
      ChooseLabelFormat(std::max(std::fabs(Low), std::fabs(High)), High - Low);
  Format = LabelFormatText(format);
  Size = MeasuredSize(Painter, LabelSampleText(format, TrailingBlanks));
}

}  // namespace

void TGraphWidget::resizeEvent(QResizeEvent *event)
{
  LayOut(event->size().width(), event->size().height());
  RenderPixmap();
}

void TGraphWidget::LayOut(int Width, int Height)
{
  // Bands in text heights: a 2U title strip, 4U of tick labels and a 1U
  // gap on the left, 2U of title on top, 1U on the right, and 2U of tick
  // labels over 2U of axis title below. No minimum size is enforced.
  const int u = d_TextHeight;
  d_TitleRect.setCoords(7 * u, 0, Width, 2 * u);
  d_PlotRect.setCoords(7 * u, 2 * u, Width - u, Height - 4 * u);
  d_VLabelRect.setCoords(2 * u, 0, 6 * u, Height - 2 * u);
  d_VTitleRect.setCoords(0, 2 * u, 2 * u, Height - 4 * u);
  d_HLabelRect.setCoords(6 * u, Height - 4 * u, Width, Height - 2 * u);
  d_HTitleRect.setCoords(7 * u, Height - 2 * u, Width - u, Height);
  d_FullRect.setCoords(0, 0, Width, Height);
}

void TGraphWidget::LayOutForDevice(const QRect &Target, int Unit, bool Untitled)
{
  const int u = Unit;
  const int w = Target.width();
  const int h = Target.height();
  if (Untitled) {
    // Fixed 6-pixel strips stand in for the missing titles.
    d_PlotRect.setCoords(6 + 4 * u, 6, w - u, h - 6 - 2 * u);
    d_VLabelRect.setCoords(6, 0, 6 + 4 * u, h - 6);
    d_VTitleRect.setCoords(0, 6, 6, h - 6 - 2 * u);
    d_HLabelRect.setCoords(6 + 4 * u, h - 6 - 2 * u, w, h - 6);
    d_HTitleRect.setCoords(6 + 4 * u, h - 6, w - u, h);
    d_TitleRect.setCoords(12, 0, w, 6);
  } else {
    d_PlotRect.setCoords(6 * u, 2 * u, w - u, h - 4 * u);
    d_VLabelRect.setCoords(2 * u, 0, 6 * u, h - 2 * u);
    d_VTitleRect.setCoords(0, 2 * u, 2 * u, h - 4 * u);
    d_HLabelRect.setCoords(6 * u, h - 4 * u, w, h - 2 * u);
    d_HTitleRect.setCoords(6 * u, h - 2 * u, w - u, h);
    d_TitleRect.setCoords(7 * u, 0, w, 2 * u);
  }
  // The layout is that of a target at the origin, moved as a whole to
  // where the target lies.
  const QPoint offset = Target.topLeft();
  for (QRect *rect :
       {&d_PlotRect, &d_VLabelRect, &d_VTitleRect, &d_HLabelRect, &d_HTitleRect, &d_TitleRect})
    rect->translate(offset);
  d_FullRect = Target;
}

bool TGraphWidget::PlotIsDegenerate() const
{
  return d_PlotRect.right() <= d_PlotRect.left() || d_PlotRect.bottom() <= d_PlotRect.top();
}

void TGraphWidget::SetViewToFit()
{
  const TFitSettings settings{d_MinimumYExtent, d_EqualAspect, d_YFromZero};
  const TGraphFit fit = FitView(d_DataSets, settings, d_PlotRect);
  d_FitXSpan = fit.XSpan;
  d_FitYSpan = fit.YSpan;
  d_Map = fit.Map;
}

void TGraphWidget::UpdateLabelFormats(QPainter &Painter)
{
  ChooseAxisLabels(Painter, d_Map.UnmapX(d_PlotRect.left()), d_Map.UnmapX(d_PlotRect.right()),
                   HLabelTrailingBlanks, d_HLabelFormat, d_HLabelSize);
  ChooseAxisLabels(Painter, d_Map.UnmapY(d_PlotRect.bottom()), d_Map.UnmapY(d_PlotRect.top()),
                   VLabelTrailingBlanks, d_VLabelFormat, d_VLabelSize);
}
