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
