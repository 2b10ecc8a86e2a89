// Mouse interaction and painting: rubber-band zoom with the left button,
// pan and zoom-out with the right, the coordinate readout, and copying
// the cached rendering to the screen.
#include "graphwidget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "graphview.h"

void TGraphWidget::mousePressEvent(QMouseEvent *event)
{
  const QPoint pos = event->pos();
  if (event->button() == Qt::LeftButton) {
    // A band started outside the plot is anchored at its top-left corner.
    const QPoint anchor = d_PlotRect.contains(pos) ? pos : d_PlotRect.topLeft();
    d_ZoomRect = QRect(anchor, anchor);
    d_ZoomArmed = true;
    d_ZoomDragged = false;
  } else if (event->button() == Qt::RightButton) {
    d_ZoomRect = QRect(pos, pos);
    d_PanDragged = false;
    d_PanArmed = true;
  }
}

void TGraphWidget::mouseMoveEvent(QMouseEvent *event)
{
  const QPoint pos = event->pos();
  if (event->buttons() & Qt::LeftButton) {
    if (!d_ZoomArmed)
      return;
    if (d_ZoomDragged) {
      UpdateZoomBand();
    } else {
      d_ZoomDragged = true;
      d_ZoomBandVisible = true;
    }
    d_ZoomRect.setBottomRight(pos);
    UpdateZoomBand();
  } else if (event->buttons() & Qt::RightButton) {
    if (d_PanArmed) {
      // Viewing the plot shifted against the pointer's motion makes the
      // data under the pointer follow it.
      RenderView(d_PlotRect.translated(d_ZoomRect.left() - pos.x(), d_ZoomRect.top() - pos.y()));
      repaint();
      d_ZoomRect.moveTopLeft(pos);
    }
    d_PanDragged = true;
  } else if (d_PlotRect.contains(pos)) {
    d_CursorText = ReadoutText(d_Map.UnmapX(pos.x()), d_Map.UnmapY(pos.y()));
    repaint();
  }
}

void TGraphWidget::mouseReleaseEvent(QMouseEvent *event)
{
  if (event->button() == Qt::LeftButton) {
    // A click without a move leaves the view alone.
    if (d_ZoomDragged) {
      d_ZoomBandVisible = false;
      UpdateZoomBand();
      RenderView(d_ZoomRect);
      update(d_FullRect);
      d_ZoomDragged = false;
    }
    d_ZoomArmed = false;
  } else if (event->button() == Qt::RightButton) {
    if (!d_PanDragged) {
      d_ZoomOutRequest = true;
      update();
    }
    d_PanDragged = false;
    d_PanArmed = false;
  }
}

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

bool TGraphWidget::SetViewFromRect(const QRect &Rect)
{
  return ViewFromRect(d_Map, Rect, d_PlotRect, d_FitXSpan, d_FitYSpan);
}

// Re-renders the cached pixmap with a new view and without a fit. On a
// plot without extent there is no view to take, and nothing changes.
void TGraphWidget::RenderView(const QRect &Rect)
{
  if (d_Pixmap.width() < 1 || d_Pixmap.height() < 1)
    return;
  if (SetViewFromRect(Rect))
    RedrawPixmap();
}

// The band is an outline drawn one pixel outside the rectangle's bottom
// and right edges; only those four strips need repainting.
void TGraphWidget::UpdateZoomBand()
{
  const QRect r = d_ZoomRect.normalized();
  update(QRect(QPoint(r.left(), r.top()), QPoint(r.right(), r.top())));
  update(QRect(QPoint(r.left(), r.top()), QPoint(r.left(), r.bottom())));
  update(QRect(QPoint(r.left(), r.bottom() + 1), QPoint(r.right(), r.bottom() + 1)));
  update(QRect(QPoint(r.right() + 1, r.top()), QPoint(r.right() + 1, r.bottom())));
}
