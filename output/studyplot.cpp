#include "studyplot.h"

#include <algorithm>

#include "graphstyle.h"
#include "graphwidget.h"
#include "numbertext.h"
#include "studystatistics.h"

std::vector<TVector2> JudgedHistogram(const TFigureList &Figures, TLimitOn On, double Limit)
{
  if (Figures.empty())
    return {};
  double from = Limit, to = Limit;
  for (const TTrialFigures &f : Figures) {
    from = std::min(from, JudgedPercent(f, On));
    to = std::max(to, JudgedPercent(f, On));
  }
  const double width = (to - from) / HistogramBins;
  if (!(width > 0.0))
    return {TVector2(from, static_cast<double>(Figures.size()))};
  std::vector<long> counts(HistogramBins, 0);
  for (const TTrialFigures &f : Figures) {
    // The largest value closes the last bin.
    const int bin =
        std::min(HistogramBins - 1, static_cast<int>((JudgedPercent(f, On) - from) / width));
    ++counts[bin];
  }
  std::vector<TVector2> bars;
  bars.reserve(HistogramBins);
  for (int b = 0; b < HistogramBins; ++b)
    bars.push_back(TVector2(from + (b + 0.5) * width, static_cast<double>(counts[b])));
  return bars;
}

void ShowHistogram(TGraphWidget &Graph, const TFigureList &Figures, const TStudySetup &Study)
{
  Graph.ClearDataSets();
  SetReportAxes(Graph);
  Graph.SetMinimumYExtent(1.0);
  Graph.SetYFromZero(true);
  Graph.SetTitle(QString("Monte Carlo study: %1 trials").arg(Figures.size()));
  Graph.SetHTitle(Study.LimitOn == TLimitOn::MaxAbs
                      ? "Largest interpolation error magnitude (% of period)"
                      : "Half the interpolation error's peak-to-peak (% of period)");
  Graph.SetVTitle("Trials");
  const std::vector<TVector2> bars = JudgedHistogram(Figures, Study.LimitOn, Study.LimitPercent);
  const int set = Graph.AddDataSet(MeasuredColor, HistogramStyle);
  double highest = 1.0;
  for (const TVector2 &bar : bars) {
    Graph.AddPoint(set, bar);
    highest = std::max(highest, bar.y);
  }
  const int limit = Graph.AddDataSet(LimitColor, LimitStyle);
  Graph.AddPoint(limit, TVector2(Study.LimitPercent, 0.0));
  Graph.AddPoint(limit, TVector2(Study.LimitPercent, highest));
  Graph.SetLegend({{"Trials", MeasuredColor},
                   {QString("Limit %1 %").arg(Figure(Study.LimitPercent)), LimitColor}});
}
