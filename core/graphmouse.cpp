// Mouse interaction: rubber-band zoom with the left button, pan and
// zoom-out with the right, and the coordinate readout under the pointer.
#include "graphwidget.h"

#include <QMouseEvent>

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
