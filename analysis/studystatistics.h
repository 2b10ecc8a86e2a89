#ifndef STUDYSTATISTICS_H
#define STUDYSTATISTICS_H

#include <vector>

#include "figurelist.h"

struct TInterval
{
  double Low = 0.0;
  double High = 1.0;
};

// The 95 % Wilson score interval of a share Successes / Trials; 0 ... 1
// for no trials.
TInterval WilsonInterval(long Successes, long Trials);

// Nearest-rank percentiles: the smallest value with at least that share
// of the values at or below it. Zeros for no values.
struct TPercentiles
{
  double P50 = 0.0, P90 = 0.0, P99 = 0.0, P999 = 0.0, Max = 0.0;
};

TPercentiles Percentiles(std::vector<double> Values);

// The trial's figure that the limit judges, in % of the period.
double JudgedPercent(const TTrialFigures &Figures, TLimitOn On);

struct TStudyStatistics
{
  long Trials = 0;
  long CountErrors = 0;
  long OverLimit = 0;
  long Clamped = 0;  // clamped draws, up to six a trial
  TPercentiles PeakToPeak, MaxAbs;
  // A trial that lost counts before any that did not, then the larger
  // judged figure, then the lower index; -1 for no trials.
  long WorstIndex = -1;
};

// Figures[j] belongs to trial First + j * Stride; a trial is over the
// limit when its figure that On names exceeds LimitPercent.
TStudyStatistics ComputeStatistics(const TFigureList &Figures, double LimitPercent, TLimitOn On,
                                   long First = 0, long Stride = 1);

#endif
