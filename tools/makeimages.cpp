// Draws the program's three built-in images:
//   gui/gui_ty.png    22 x 22, one period of a sine wave (dual-channel mode)
//   gui/gui_xy.png    22 x 22, a circle (XY mode)
//   icons/vantrel.png 48 x 48, the application icon (and icons/vantrel.ico)
// Usage: vantrel_makeimages <vantrel source directory>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <cmath>
#include <cstdio>

#include "angles.h"

namespace {

QImage NewImage(int size)
{
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  return image;
}

// Polyline of sin over one period across the given rectangle.
QPainterPath SinePath(const QRectF &box, double phase)
{
  QPainterPath path;
  const int steps = 64;
  for (int i = 0; i <= steps; ++i) {
    const double t = static_cast<double>(i) / steps;
    const QPointF point(box.left() + t * box.width(),
                        box.center().y() - 0.5 * box.height() * std::sin(2.0 * Pi * t + phase));
    if (i == 0)
      path.moveTo(point);
    else
      path.lineTo(point);
  }
  return path;
}

QImage SineIcon()
{
  QImage image = NewImage(22);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(160, 160, 160), 1.0));
  painter.drawLine(QPointF(2, 11), QPointF(20, 11));
  painter.setPen(QPen(QColor(128, 0, 0), 1.6));
  painter.drawPath(SinePath(QRectF(2, 3, 18, 16), 0.0));
  return image;
}

QImage CircleIcon()
{
  QImage image = NewImage(22);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(160, 160, 160), 1.0));
  painter.drawLine(QPointF(2, 11), QPointF(20, 11));
  painter.drawLine(QPointF(11, 2), QPointF(11, 20));
  painter.setPen(QPen(QColor(0, 0, 128), 1.6));
  painter.drawEllipse(QPointF(11, 11), 7.5, 7.5);
  return image;
}

// A scale with its grating, and the two quadrature signals above it.
QImage ApplicationIcon()
{
  QImage image = NewImage(48);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(40, 40, 60), 1.5));
  painter.setBrush(QColor(235, 238, 245));
  painter.drawRoundedRect(QRectF(2, 2, 44, 44), 7, 7);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(70, 70, 90));
  for (int i = 0; i < 9; ++i)
    painter.drawRect(QRectF(6 + 4.0 * i, 36, 2, 6));
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(128, 0, 0), 2.2));
  painter.drawPath(SinePath(QRectF(6, 8, 36, 22), 0.0));
  painter.setPen(QPen(QColor(0, 128, 0), 2.2));
  painter.drawPath(SinePath(QRectF(6, 8, 36, 22), Pi / 2.0));
  return image;
}

bool Save(const QImage &image, const QString &path)
{
  if (image.save(path))
    return true;
  std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  return false;
}

}  // namespace

int main(int argc, char *argv[])
{
  QGuiApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <vantrel source directory>\n", argv[0]);
    return 2;
  }
  const QDir root(QString::fromLocal8Bit(argv[1]));
  bool ok = Save(SineIcon(), root.filePath("gui/gui_ty.png"));
  ok = Save(CircleIcon(), root.filePath("gui/gui_xy.png")) && ok;
  ok = Save(ApplicationIcon(), root.filePath("icons/vantrel.png")) && ok;
  ok = Save(ApplicationIcon(), root.filePath("icons/vantrel.ico")) && ok;
  return ok ? 0 : 1;
}
