#include "studyplot.h"

#include <algorithm>

#include "graphstyle.h"
#include "graphwidget.h"

std::vector<TVector2> PeakToPeakHistogram(const TFigureList &Figures)
{
  if (Figures.empty())
    return {};
  const auto [low, high] = std::minmax_element(
      Figures.begin(), Figures.end(),
      [](const TTrialFigures &a, const TTrialFigures &b) { return a.PeakToPeak < b.PeakToPeak; });
  const double from = low->PeakToPeak, width = (high->PeakToPeak - from) / HistogramBins;
  if (!(width > 0.0))
    return {TVector2(from, static_cast<double>(Figures.size()))};
  std::vector<long> counts(HistogramBins, 0);
  for (const TTrialFigures &f : Figures) {
    // The largest value closes the last bin.
    const int bin = std::min(HistogramBins - 1, static_cast<int>((f.PeakToPeak - from) / width));
    ++counts[bin];
  }
  std::vector<TVector2> bars;
  bars.reserve(HistogramBins);
  for (int b = 0; b < HistogramBins; ++b)
    bars.push_back(TVector2(from + (b + 0.5) * width, static_cast<double>(counts[b])));
  return bars;
}

void ShowHistogram(TGraphWidget &Graph, const TFigureList &Figures)
{
  Graph.ClearDataSets();
  Graph.SetMinimumYExtent(1.0);
  Graph.SetTitle(QString("Monte Carlo study: %1 trials").arg(Figures.size()));
  Graph.SetHTitle("Interpolation error peak-to-peak (% of period)");
  Graph.SetVTitle("Trials");
  const int set = Graph.AddDataSet(MeasuredColor, HistogramStyle);
  for (const TVector2 &bar : PeakToPeakHistogram(Figures))
    Graph.AddPoint(set, bar);
}
