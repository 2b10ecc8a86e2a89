#ifndef STUDYPLOT_H
#define STUDYPLOT_H

#include <vector>

#include "figurelist.h"

class TGraphWidget;

const int HistogramBins = 40;

// Trials per bin of the figure the limit judges, HistogramBins equal bins
// from the smallest to the largest of the values and Limit; each bar
// stands at its bin's centre. With no spread all trials fall in one bin.
std::vector<TVector2> JudgedHistogram(const TFigureList &Figures, TLimitOn On, double Limit);

// The histogram as bars counted from zero, the limit as a vertical line
// over them, with titles in units.
void ShowHistogram(TGraphWidget &Graph, const TFigureList &Figures, const TStudySetup &Study);

#endif
