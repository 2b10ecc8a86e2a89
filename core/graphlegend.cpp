// The legend: a box of one line per entry in a top corner of the plot,
// drawn straight onto a report's device and, for the widget's own
// pixmap, drawn once and copied.
#include "graphwidget.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

void TGraphWidget::SetLegend(const std::vector<TLegendEntry> &Entries, Qt::Corner Corner)
{
  const bool same = std::equal(Entries.begin(), Entries.end(), d_Legend.begin(), d_Legend.end(),
                               [](const TLegendEntry &X, const TLegendEntry &Y) {
                                 return X.Text == Y.Text && X.Color == Y.Color &&
                                        X.Style == Y.Style && X.Second == Y.Second;
                               });
  if (!same) {
    d_LegendWidest = -1;
    d_LegendImage = QPixmap();
  }
  d_Legend = Entries;
  d_LegendCorner = Corner;
}

void TGraphWidget::DrawLegend(QPainter &Painter)
{
  if (d_Legend.empty() || PlotIsDegenerate())
    return;
  const QFontMetrics metrics(Painter.font());
  const int u = metrics.height();
  // Measuring the texts costs more than drawing the rest of the box.
  if (d_LegendWidest < 0 || !(Painter.font() == d_LegendFont)) {
    d_LegendWidest = 0;
    for (const TLegendEntry &entry : d_Legend)
      d_LegendWidest = std::max(d_LegendWidest, metrics.horizontalAdvance(entry.Text));
    d_LegendFont = Painter.font();
    d_LegendImage = QPixmap();
  }
  // A stroke two text heights long, a gap, the text; half a text height
  // of white round it all.
  const int stroke = 2 * u, pad = u / 2;
  QRect box(0, 0, pad + stroke + pad + d_LegendWidest + pad,
            pad + static_cast<int>(d_Legend.size()) * u + pad);
  if (2 * box.height() > d_PlotRect.height() || 3 * box.width() > 2 * d_PlotRect.width())
    return;
  if (d_LegendCorner == Qt::TopLeftCorner)
    box.moveTopLeft(QPoint(d_PlotRect.left() + pad, d_PlotRect.top() + pad));
  else
    box.moveTopRight(QPoint(d_PlotRect.right() - pad, d_PlotRect.top() + pad));
  if (Painter.device() != &d_Pixmap) {
    PaintLegend(Painter, box, u);
    return;
  }
  // Every replot of the window's graphs would lay the same texts out
  // again: the box is drawn once into an image of its own (its frame
  // reaches one pixel past its size) and copied, unscaled, to where the
  // pixmap's viewport puts it.
  if (d_LegendImage.size() != box.size() + QSize(1, 1)) {
    d_LegendImage = QPixmap(box.size() + QSize(1, 1));
    d_LegendImage.fill(Qt::white);
    QPainter image(&d_LegendImage);
    image.setFont(Painter.font());
    image.translate(-box.topLeft());
    PaintLegend(image, box, u);
  }
  const QPoint at = Painter.combinedTransform().map(QPointF(box.topLeft())).toPoint();
  Painter.save();
  Painter.resetTransform();
  Painter.setViewTransformEnabled(false);
  Painter.drawPixmap(at, d_LegendImage);
  Painter.restore();
}

void TGraphWidget::PaintLegend(QPainter &Painter, const QRect &Box, int U)
{
  const int stroke = 2 * U, pad = U / 2, half = stroke / 2;
  const QFontMetrics metrics(Painter.font());
  const QPen savedPen = Painter.pen();
  Painter.fillRect(Box, Qt::white);
  Painter.setPen(Qt::darkGray);
  Painter.drawRect(Box);
  for (std::size_t i = 0; i < d_Legend.size(); ++i) {
    const int rowTop = Box.top() + pad + static_cast<int>(i) * U;
    const int middle = rowTop + U / 2;
    const TLegendEntry &entry = d_Legend[i];
    const int left = Box.left() + pad;
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
    Painter.drawText(QPoint(Box.left() + 2 * pad + stroke, rowTop + metrics.ascent()), entry.Text);
  }
  Painter.setPen(savedPen);
}
