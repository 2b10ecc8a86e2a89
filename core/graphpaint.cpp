// Painting the widget: carrying out the zoom-out and fit requests, and
// otherwise copying the cached rendering to the screen with the zoom band
// and the coordinate readout over it.
#include "graphwidget.h"

#include <QPaintEvent>
#include <QPainter>

#include "graphview.h"

// Requests are carried out here by rendering anew, and the result is shown
// by the full repaint they schedule. Otherwise painting only copies the
// exposed parts of the cached rendering and draws the band and readout.
void TGraphWidget::paintEvent(QPaintEvent *event)
{
  QPainter painter(this);
  if (d_ScaleToFitRequest) {
    d_ScaleToFitRequest = false;
    RenderPixmap();
    update(d_FullRect);
    return;
  }
  if (d_ZoomOutRequest) {
    d_ZoomOutRequest = false;
    RenderView(ZoomOutRect(d_PlotRect));
    update(d_FullRect);
    return;
  }

  for (const QRect &rect : event->region()) {
    const QRectF area(rect);
    painter.drawPixmap(area, d_Pixmap, area);
  }
  if (d_ZoomBandVisible) {
    const QRect band = d_ZoomRect.normalized();
    painter.drawRects(&band, 1);
  }
  const QPen savedPen = painter.pen();
  painter.setPen(Qt::lightGray);
  const QRect text = painter.boundingRect(QRect(), 0, d_CursorText);
  painter.drawText(QPoint(d_PlotRect.right() - text.width(), d_PlotRect.top() + text.height()),
                   d_CursorText);
  painter.setPen(savedPen);
}
