// Rendering of the graph: into the cached pixmap, fitted to the data or
// in a view the mouse chose, or onto a caller's painter.
#include "graphwidget.h"

#include <QFont>
#include <QFontMetrics>
#include <QLine>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <tuple>

#include "graphaxis.h"
#include "graphview.h"

namespace {

const int LineStyle = 1;
const int BarStyle = 2;
const int CrossStyle = 3;

const int TitlePointSize = 12;
const int AxisTitlePointSize = 10;
const int TitleWeight = 75;  // bold

bool IsFinite(const TVector2 &Point)
{
  return std::isfinite(Point.x) && std::isfinite(Point.y);
}

bool WithinPixelLimit(double v)
{
  return v >= -TGraphMapping::PixelLimit && v <= TGraphMapping::PixelLimit;
}

// One drawLines call per segment. A point with a NaN or infinite
// coordinate leaves a gap: both of its segments are skipped.
void DrawLines(QPainter &Painter, const TGraphMapping &Map, const std::vector<TVector2> &Points)
{
  for (std::size_t i = 1; i < Points.size(); ++i) {
    const TVector2 &a = Points[i - 1];
    const TVector2 &b = Points[i];
    if (!IsFinite(a) || !IsFinite(b))
      continue;
    double px0 = Map.MapX(a.x), py0 = Map.MapY(a.y);
    double px1 = Map.MapX(b.x), py1 = Map.MapY(b.y);
    if (!WithinPixelLimit(px0) || !WithinPixelLimit(py0) || !WithinPixelLimit(px1) ||
        !WithinPixelLimit(py1)) {
      double x0 = a.x, y0 = a.y, x1 = b.x, y1 = b.y;
      if (!Map.ClipSegment(x0, y0, x1, y1))
        continue;
      px0 = Map.MapX(x0);
      py0 = Map.MapY(y0);
      px1 = Map.MapX(x1);
      py1 = Map.MapY(y1);
    }
    const QLine line(TGraphMapping::Pixel(px0), TGraphMapping::Pixel(py0),
                     TGraphMapping::Pixel(px1), TGraphMapping::Pixel(py1));
    Painter.drawLines(&line, 1);
  }
}

// All crosses in one drawLines call: a call per cross costs the painter's
// setup each time, which for thousands of samples outweighs the drawing.
void DrawCrosses(QPainter &Painter, const TGraphMapping &Map, const std::vector<TVector2> &Points)
{
  std::vector<QLine> lines;
  lines.reserve(2 * Points.size());
  for (const TVector2 &point : Points) {
    if (!IsFinite(point))
      continue;
    const int px = Map.Column(point.x);
    const int py = Map.Row(point.y);
    lines.emplace_back(px - GraphCrossArm, py - GraphCrossArm, px + GraphCrossArm,
                       py + GraphCrossArm);
    lines.emplace_back(px - GraphCrossArm, py + GraphCrossArm, px + GraphCrossArm,
                       py - GraphCrossArm);
  }
  if (!lines.empty())
    Painter.drawLines(lines.data(), static_cast<int>(lines.size()));
}

// Each bar reaches from its point to the row just above y = 0 and is
// 2 * hw pixels wide, hw shrinking with the number of bars that share
// the plot's width.
void DrawBars(QPainter &Painter, const TGraphMapping &Map, const QRect &Plot, const TDataSet &Set)
{
  const int plotWidth = Plot.right() - Plot.left() + 1;
  const int count = static_cast<int>(Set.Points.size());
  const int halfWidth = std::max(plotWidth / (2 * count) - 1, 1);
  const int zero = TGraphMapping::Pixel(Map.dy);
  for (const TVector2 &point : Set.Points) {
    if (!IsFinite(point))
      continue;
    const int px = Map.Column(point.x);
    const int py = Map.Row(point.y);
    QRect bar;
    bar.setCoords(px - halfWidth, std::min(py, zero - 1), px + halfWidth - 1,
                  std::max(py, zero - 1));
    Painter.fillRect(bar, Set.Color);
  }
}

QFont TitleFont(int PointSize)
{
  QFont font;
  font.setPointSize(PointSize);
  font.setWeight(TitleWeight);
  return font;
}

}  // namespace

void TGraphWidget::Replot()
{
  if (d_FullRect.bottom() - d_FullRect.top() < 0 || d_FullRect.right() - d_FullRect.left() < 0)
    return;
  RenderPixmap();
  update();
}

void TGraphWidget::RenderPixmap()
{
  if (d_FullRect.bottom() - d_FullRect.top() < 0 || d_FullRect.right() - d_FullRect.left() < 0)
    return;
  // One pixel wider and higher than the widget: the viewport below
  // squeezes logical column W and row H onto the last visible ones.
  d_Pixmap = QPixmap(d_FullRect.width(), d_FullRect.height());
  SetViewToFit();
  RedrawPixmap();
}

void TGraphWidget::RedrawPixmap()
{
  d_Pixmap.fill(Qt::white);
  QPainter painter(&d_Pixmap);
  painter.setViewport(d_FullRect.left(), d_FullRect.top(), d_FullRect.right(), d_FullRect.bottom());
  DrawView(painter);
}

// On a plot without extent, or before the first resize, there is no view
// to take and nothing changes.
void TGraphWidget::RenderView(const QRect &Rect)
{
  if (d_Pixmap.width() < 1 || d_Pixmap.height() < 1)
    return;
  if (ViewFromRect(d_Map, Rect, d_PlotRect, d_FitXSpan, d_FitYSpan))
    RedrawPixmap();
}

void TGraphWidget::DrawGraph(QPainter &Painter)
{
  SetViewToFit();
  DrawView(Painter);
}

void TGraphWidget::DrawView(QPainter &Painter)
{
  UpdateLabelFormats(Painter);
  DrawAxes(Painter);
  DrawDataSets(Painter);
  DrawLegend(Painter);
}

void TGraphWidget::DrawAxes(QPainter &Painter)
{
  const QPen savedPen = Painter.pen();
  const QFont savedFont = Painter.font();
  const int left = d_PlotRect.left(), top = d_PlotRect.top();
  const int right = d_PlotRect.right(), bottom = d_PlotRect.bottom();

  // A plot without extent shows no scale, only its frame and titles.
  if (!PlotIsDegenerate()) {
    if (d_TickRule == TTickRule::RoundSteps)
      DrawRoundTicks(Painter);
    else
      DrawWindowTicks(Painter);

    // Zero lines on the plot's edge would hide the frame: left out.
    Painter.setPen(Qt::lightGray);
    const int zeroColumn = TGraphMapping::Pixel(d_Map.dx);
    if (left < zeroColumn && zeroColumn < right)
      Painter.drawLine(zeroColumn, top, zeroColumn, bottom);
    const int zeroRow = TGraphMapping::Pixel(d_Map.dy);
    if (top < zeroRow && zeroRow < bottom)
      Painter.drawLine(left, zeroRow, right, zeroRow);
  }

  // Inverted rectangles (a graph too small for them) are not framed.
  if (d_DrawBorder) {
    QRect border;
    border.setCoords(d_FullRect.left(), d_FullRect.top(), d_FullRect.right() - 1,
                     d_FullRect.bottom() - 1);
    if (border.isValid()) {
      Painter.setPen(Qt::darkGray);
      Painter.drawRect(border);
    }
  }
  if (d_PlotRect.isValid()) {
    Painter.setPen(Qt::darkGray);
    Painter.drawRect(d_PlotRect);
  }

  Painter.setPen(savedPen);
  Painter.setFont(TitleFont(TitlePointSize));
  Painter.drawText(d_TitleRect, Qt::AlignHCenter | Qt::AlignVCenter, d_Title);
  Painter.setFont(TitleFont(AxisTitlePointSize));
  Painter.drawText(d_HTitleRect, Qt::AlignHCenter | Qt::AlignVCenter, d_HTitle);

  // The vertical title reads bottom to top, centred on its strip.
  const int titleWidth =
      std::max(Painter.boundingRect(QRect(), Qt::AlignLeft, d_VTitle).width(), 1);
  Painter.save();
  Painter.translate(d_VTitleRect.center());
  Painter.rotate(-90.0);
  Painter.drawText(QPoint(-titleWidth / 2, 0), d_VTitle);
  Painter.restore();

  Painter.setFont(savedFont);
}

void TGraphWidget::DrawWindowTicks(QPainter &Painter)
{
  const int textHeight = QFontMetrics(Painter.font()).height();
  const int left = d_PlotRect.left(), top = d_PlotRect.top();
  const int right = d_PlotRect.right(), bottom = d_PlotRect.bottom();
  const int hlw = d_HLabelSize.width(), hlh = d_HLabelSize.height();
  const int hBaseline = d_HLabelRect.top() + textHeight + hlh - hlh / 2;
  for (int x : TickPositions(left, right - left + 1, hlw)) {
    Painter.setPen(Qt::lightGray);
    Painter.drawLine(x, bottom, x, bottom + textHeight / 3);
    Painter.setPen(Qt::black);
    Painter.drawText(QPoint(x - hlw / 2, hBaseline), TickLabel(d_HLabelFormat, d_Map.UnmapX(x)));
  }

  const int vlw = d_VLabelSize.width(), vlh = d_VLabelSize.height();
  for (int y : TickPositions(top, bottom - top + 1, d_TextHeight)) {
    Painter.setPen(Qt::lightGray);
    Painter.drawLine(left - textHeight / 2, y, left, y);
    Painter.setPen(Qt::black);
    Painter.drawText(QPoint(d_VLabelRect.right() - vlw, y + vlh / 2 - 1),
                     TickLabel(d_VLabelFormat, d_Map.UnmapY(y)));
  }
}

void TGraphWidget::DrawDataSets(QPainter &Painter)
{
  const QPen savedPen = Painter.pen();
  if (d_DataSets.empty())
    return;
  // A plot without extent shows no data.
  if (!PlotIsDegenerate()) {
    Painter.setClipRect(d_PlotRect, Qt::ReplaceClip);
    for (const TDataSet &set : d_DataSets) {
      if (set.Points.empty())
        continue;
      Painter.setPen(set.Color);
      switch (set.Style == 0 ? d_DefaultStyle : set.Style) {
        case LineStyle:
          DrawLines(Painter, d_Map, set.Points);
          break;
        case BarStyle:
          DrawBars(Painter, d_Map, d_PlotRect, set);
          break;
        case CrossStyle:
          DrawCrosses(Painter, d_Map, set.Points);
          break;
        default:  // unknown styles are not drawn
          break;
      }
    }
  }
  Painter.setClipping(false);
  Painter.setPen(savedPen);
}

bool TGraphWidget::RenderOnto(QPainter *Device, const QRect &Target, bool Border, bool Untitled)
{
  // Everything this drawing borrows from the widget, listed once for the
  // save and the restore. The fit spans, label formats and sizes stay
  // those of this drawing.
  auto borrowed =
      std::tie(d_Map, d_PlotRect, d_VLabelRect, d_VTitleRect, d_HLabelRect, d_HTitleRect,
               d_TitleRect, d_FullRect, d_TextHeight, d_DrawBorder, d_Title, d_HTitle, d_VTitle);
  const auto saved =
      std::apply([](const auto &...member) { return std::make_tuple(member...); }, borrowed);

  if (Untitled) {
    d_Title.clear();
    d_HTitle.clear();
    d_VTitle.clear();
  }
  d_DrawBorder = Border;
  d_TextHeight = QFontMetrics(Device->font()).height();
  LayOutForDevice(Target, d_TextHeight, Untitled);
  DrawGraph(*Device);

  borrowed = saved;
  return true;
}
