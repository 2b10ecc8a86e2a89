#include "graphfit.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Smallest span of a fitted axis and what it is widened by on each side.
const double MinimumSpan = 1e-5;
const double Widening = 5e-6;
// An axis with margins grows by its span divided by this on each side.
// Dividing, rather than multiplying by 1.0 / 50.0 (which is not exactly
// 1/50), gives the nearest double to the margin for every span.
const double MarginDivisor = 50.0;
// Relative widening of a range that rounding has left empty.
const double RelativeWidening = 1e-12;

double ClampedToFitLimit(double v)
{
  return std::min(std::max(v, -FitLimit), FitLimit);
}

}  // namespace

void WidenNarrowRange(double &Lo, double &Hi)
{
  if (Hi - Lo < MinimumSpan) {
    Lo -= Widening;
    Hi += Widening;
  }
}

void WidenEmptyRange(double &Lo, double &Hi)
{
  if (Hi > Lo)
    return;
  const double magnitude = std::max(std::fabs(Lo), std::fabs(Hi));
  const double widening = std::max(Widening, magnitude * RelativeWidening);
  Lo -= widening;
  Hi += widening;
}

TGraphFit FitView(const std::vector<TDataSet> &Sets, const TFitSettings &Settings,
                  const QRect &Plot)
{
  double xmin = -Widening, xmax = Widening;
  double ymin = -Widening, ymax = Widening;
  bool first = true;
  for (const TDataSet &set : Sets) {
    for (const TVector2 &point : set.Points) {
      if (!std::isfinite(point.x) || !std::isfinite(point.y))
        continue;
      const double x = ClampedToFitLimit(point.x), y = ClampedToFitLimit(point.y);
      if (first) {
        xmin = xmax = x;
        ymin = ymax = y;
        first = false;
      } else {
        xmin = std::min(xmin, x);
        xmax = std::max(xmax, x);
        ymin = std::min(ymin, y);
        ymax = std::max(ymax, y);
      }
    }
  }

  // The y range always holds zero, at least +-E around it.
  const double extent =
      Settings.MinimumYExtent > 0.0 ? std::min(Settings.MinimumYExtent, FitLimit) : 0.0;
  ymin = Settings.YFromZero ? 0.0 : std::min(ymin, -extent);
  ymax = std::max(ymax, extent);

  WidenNarrowRange(xmin, xmax);

  if (Settings.EqualAspect) {
    // Rebuilt from the y range and the plot's shape about the data's x
    // centre; centred on it only when the y range is symmetric.
    const double xc = (xmin + xmax) / 2.0;
    const int across = std::abs(Plot.right() - Plot.left());
    const int down = std::abs(Plot.top() - Plot.bottom());
    const double ratio = down == 0 ? 1.0 : static_cast<double>(across) / down;
    xmin = xc + ratio * ymin;
    xmax = xc + ratio * ymax;
  }

  WidenNarrowRange(ymin, ymax);
  // A plot without width makes the equal-aspect x range empty, and
  // rounding does the same to tiny spans at huge coordinates.
  WidenEmptyRange(xmin, xmax);
  WidenEmptyRange(ymin, ymax);

  TGraphFit fit;
  fit.XSpan = xmax - xmin;
  fit.YSpan = ymax - ymin;
  if (!Settings.YFromZero)
    ymin -= fit.YSpan / MarginDivisor;
  ymax += fit.YSpan / MarginDivisor;
  xmin -= fit.XSpan / MarginDivisor;
  xmax += fit.XSpan / MarginDivisor;
  fit.XMin = xmin;
  fit.XMax = xmax;
  fit.YMin = ymin;
  fit.YMax = ymax;
  fit.Map = TGraphMapping::FromRanges(xmin, xmax, ymin, ymax, Plot);
  return fit;
}
