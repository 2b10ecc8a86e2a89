#include "graphview.h"

#include <cmath>

#include "graphfit.h"

namespace {

const int ZoomOutFactor = 2;

// Scales both ends towards data 0 so the span is at most the limit.
void LimitSpan(double &Lo, double &Hi, double FitSpan)
{
  const double limit = ZoomOutLimit * FitSpan;
  if (Hi - Lo > limit) {
    const double k = limit / (Hi - Lo);
    Lo *= k;
    Hi *= k;
  }
}

void WidenNarrowSpan(double &Lo, double &Hi)
{
  WidenNarrowRange(Lo, Hi);
  // Far from 0 a step of 5e-6 can vanish in rounding.
  WidenEmptyRange(Lo, Hi);
}

bool IsSound(const TGraphMapping &Map)
{
  return std::isfinite(Map.m11) && std::isfinite(Map.m22) && std::isfinite(Map.dx) &&
         std::isfinite(Map.dy) && Map.m11 > 0.0 && Map.m22 < 0.0;
}

}  // namespace

bool ViewFromRect(TGraphMapping &Map, const QRect &Rect, const QRect &Plot, double FitXSpan,
                  double FitYSpan)
{
  if (Plot.right() <= Plot.left() || Plot.bottom() <= Plot.top())
    return false;
  const QRect r = Rect.normalized();
  double x0 = Map.UnmapX(r.left());
  double x1 = Map.UnmapX(r.right());
  // The row axis points down, so the top edge holds the larger value.
  double yTop = Map.UnmapY(r.top());
  double yBottom = Map.UnmapY(r.bottom());

  LimitSpan(x0, x1, FitXSpan);
  LimitSpan(yBottom, yTop, FitYSpan);
  WidenNarrowSpan(x0, x1);
  WidenNarrowSpan(yBottom, yTop);
  if (!(x1 > x0) || !(yTop > yBottom))
    return false;

  const TGraphMapping view = TGraphMapping::FromRanges(x0, x1, yBottom, yTop, Plot);
  if (!IsSound(view))
    return false;
  Map = view;
  return true;
}

QRect ZoomOutRect(const QRect &Plot)
{
  const int width = ZoomOutFactor * (Plot.right() - Plot.left() + 1);
  const int height = ZoomOutFactor * (Plot.bottom() - Plot.top() + 1);
  const int cx = (Plot.left() + Plot.right()) / 2;
  const int cy = (Plot.top() + Plot.bottom()) / 2;
  QRect zoom;
  zoom.setLeft(cx - (width - 1) / 2);
  zoom.setTop(cy - (height - 1) / 2);
  zoom.setRight(zoom.left() + width - 1);
  zoom.setBottom(zoom.top() + height - 1);
  return zoom;
}

QString ReadoutText(double x, double y)
{
  return QString::asprintf("%.5lf,   %.5lf", x, y);
}
