#ifndef STUDYPLOT_H
#define STUDYPLOT_H

#include <vector>

#include "figurelist.h"

class TGraphWidget;

const int HistogramBins = 40;

// Trials per bin of the interpolation error's peak-to-peak, HistogramBins
// equal bins from the smallest to the largest value; each bar stands at
// its bin's centre. Equal values all fall in one bin at that value.
std::vector<TVector2> PeakToPeakHistogram(const TFigureList &Figures);

// The histogram as bars, with titles.
void ShowHistogram(TGraphWidget &Graph, const TFigureList &Figures);

#endif
