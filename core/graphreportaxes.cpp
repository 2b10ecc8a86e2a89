// What a graph adds when its user opts in, for plots in a report: ticks
// at round steps and a legend.
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "graphwidget.h"

namespace {

// The most ticks over Low ... High whose neighbours lie at least Spacing
// pixels apart on an axis Extent pixels long; Spacing may depend on the
// labels of the ticks tried.
template <typename TSpacing>
TRoundTicks FittingTicks(double Low, double High, int Extent, int Unit, TSpacing Spacing)
{
  TRoundTicks ticks;
  for (int most = std::max(2, Extent / std::max(Unit, 1)); most >= 2; --most) {
    ticks = RoundTicks(Low, High, most);
    if (ticks.Values.empty() || Extent * ticks.Step / (High - Low) >= Spacing(ticks))
      return ticks;
  }
  return ticks;
}

}  // namespace

void TGraphWidget::DrawRoundTicks(QPainter &Painter)
{
  const QFontMetrics metrics(Painter.font());
  const int textHeight = metrics.height();
  const int left = d_PlotRect.left(), top = d_PlotRect.top();
  const int right = d_PlotRect.right(), bottom = d_PlotRect.bottom();
  const QString gap = "  ";  // between neighbouring labels

  const TRoundTicks h = FittingTicks(
      d_Map.UnmapX(left), d_Map.UnmapX(right), right - left, textHeight,
      [&](const TRoundTicks &Ticks) {
        int widest = 0;
        for (double value : Ticks.Values)
          widest = std::max(widest,
                            metrics.horizontalAdvance(RoundTickLabel(value, Ticks.Decimals) + gap));
        return widest;
      });
  const int hBaseline = bottom + textHeight / 3 + metrics.ascent() + 1;
  for (double value : h.Values) {
    const int x = d_Map.Column(value);
    const QString label = RoundTickLabel(value, h.Decimals);
    Painter.setPen(Qt::darkGray);
    Painter.drawLine(x, bottom, x, bottom + textHeight / 3);
    Painter.setPen(Qt::black);
    Painter.drawText(QPoint(x - metrics.horizontalAdvance(label) / 2, hBaseline), label);
  }

  // Labels two text heights apart leave the axis readable.
  const TRoundTicks v =
      FittingTicks(d_Map.UnmapY(bottom), d_Map.UnmapY(top), bottom - top, textHeight,
                   [&](const TRoundTicks &) { return 2 * textHeight; });
  const int tick = textHeight / 2;
  for (double value : v.Values) {
    const int y = d_Map.Row(value);
    const QString label = RoundTickLabel(value, v.Decimals);
    Painter.setPen(Qt::darkGray);
    Painter.drawLine(left - tick, y, left, y);
    Painter.setPen(Qt::black);
    Painter.drawText(QPoint(left - tick - 2 - metrics.horizontalAdvance(label),
                            y + (metrics.ascent() - metrics.descent()) / 2),
                     label);
  }
}

void TGraphWidget::DrawLegend(QPainter &Painter)
{
  if (d_Legend.empty() || PlotIsDegenerate())
    return;
  const QFontMetrics metrics(Painter.font());
  const int u = metrics.height();
  int widest = 0;
  for (const TLegendEntry &entry : d_Legend)
    widest = std::max(widest, metrics.horizontalAdvance(entry.Text));
  // A stroke two text heights long, a gap, the text; half a text height
  // of white round it all.
  const int stroke = 2 * u, pad = u / 2;
  QRect box(0, 0, pad + stroke + pad + widest + pad,
            pad + static_cast<int>(d_Legend.size()) * u + pad);
  if (2 * box.height() > d_PlotRect.height() || 3 * box.width() > 2 * d_PlotRect.width())
    return;
  if (d_LegendCorner == Qt::TopLeftCorner)
    box.moveTopLeft(QPoint(d_PlotRect.left() + pad, d_PlotRect.top() + pad));
  else
    box.moveTopRight(QPoint(d_PlotRect.right() - pad, d_PlotRect.top() + pad));

  const QPen savedPen = Painter.pen();
  Painter.fillRect(box, Qt::white);
  Painter.setPen(Qt::darkGray);
  Painter.drawRect(box);
  for (std::size_t i = 0; i < d_Legend.size(); ++i) {
    const int rowTop = box.top() + pad + static_cast<int>(i) * u;
    const int middle = rowTop + u / 2;
    const TLegendEntry &entry = d_Legend[i];
    const int left = box.left() + pad, half = stroke / 2;
    const int parts = entry.Second.isValid() || entry.Style == TGraphStyle::Crosses ? 2 : 1;
    for (int part = 0; part < parts; ++part) {
      const QColor &color = part == 1 && entry.Second.isValid() ? entry.Second : entry.Color;
      const int from = left + part * half,
                to = parts == 1 || part == 1 ? left + stroke : from + half;
      if (entry.Style == TGraphStyle::Crosses) {
        Painter.setPen(color);
        const int x = from + half / 2, arm = GraphCrossArm;
        Painter.drawLine(x - arm, middle - arm, x + arm, middle + arm);
        Painter.drawLine(x - arm, middle + arm, x + arm, middle - arm);
      } else {
        QPen pen(color);
        pen.setWidth(2);
        Painter.setPen(pen);
        Painter.drawLine(from, middle, to, middle);
      }
    }
    Painter.setPen(Qt::black);
    Painter.drawText(QPoint(box.left() + 2 * pad + stroke, rowTop + metrics.ascent()),
                     d_Legend[i].Text);
  }
  Painter.setPen(savedPen);
}
