#include "studystatistics.h"

#include <algorithm>
#include <cmath>

namespace {

// The standard normal distribution's 97.5 % quantile.
const double Z95 = 1.959963984540054;

// Rank ceil(PerMille * n / 1000), counted from 1, in whole numbers so that
// 99.9 % of 1000 values is exactly rank 999.
double AtPerMille(const std::vector<double> &Sorted, long PerMille)
{
  const long n = static_cast<long>(Sorted.size());
  const long rank = std::max(1L, (PerMille * n + 999) / 1000);
  return Sorted[rank - 1];
}

std::vector<double> Column(const TFigureList &Figures, double TTrialFigures::*Figure)
{
  std::vector<double> values;
  values.reserve(Figures.size());
  for (const TTrialFigures &f : Figures)
    values.push_back(f.*Figure);
  return values;
}

bool IsWorse(const TTrialFigures &A, const TTrialFigures &B, TLimitOn On)
{
  if (A.CountError != B.CountError)
    return A.CountError;
  return JudgedPercent(A, On) > JudgedPercent(B, On);
}

}  // namespace

double JudgedPercent(const TTrialFigures &Figures, TLimitOn On)
{
  return On == TLimitOn::MaxAbs ? Figures.MaxAbs : Figures.PeakToPeak / 2.0;
}

TInterval WilsonInterval(long Successes, long Trials)
{
  if (Trials <= 0)
    return {0.0, 1.0};
  const double n = static_cast<double>(Trials);
  const double p = Successes / n;
  const double z2 = Z95 * Z95;
  const double denominator = 1.0 + z2 / n;
  const double centre = (p + z2 / (2.0 * n)) / denominator;
  const double half = Z95 / denominator * std::sqrt(p * (1.0 - p) / n + z2 / (4.0 * n * n));
  // At no or all successes the bound is exactly 0 or 1; the formula
  // leaves a rounding error there.
  return {Successes == 0 ? 0.0 : centre - half, Successes == Trials ? 1.0 : centre + half};
}

TPercentiles Percentiles(std::vector<double> Values)
{
  if (Values.empty())
    return {};
  std::sort(Values.begin(), Values.end());
  return {AtPerMille(Values, 500), AtPerMille(Values, 900), AtPerMille(Values, 990),
          AtPerMille(Values, 999), Values.back()};
}

TStudyStatistics ComputeStatistics(const TFigureList &Figures, double LimitPercent, TLimitOn On,
                                   long First, long Stride)
{
  TStudyStatistics statistics;
  statistics.Trials = static_cast<long>(Figures.size());
  std::size_t worst = 0;
  for (std::size_t j = 0; j < Figures.size(); ++j) {
    const TTrialFigures &f = Figures[j];
    statistics.CountErrors += f.CountError;
    statistics.OverLimit += JudgedPercent(f, On) > LimitPercent;
    statistics.Clamped += f.Clamped;
    // Strictly worse only, so the lower index wins a tie.
    if (IsWorse(f, Figures[worst], On))
      worst = j;
  }
  if (!Figures.empty())
    statistics.WorstIndex = First + static_cast<long>(worst) * Stride;
  // One figure's copy at a time, so the statistics add no more than a
  // double a trial to what the figures take.
  statistics.PeakToPeak = Percentiles(Column(Figures, &TTrialFigures::PeakToPeak));
  statistics.MaxAbs = Percentiles(Column(Figures, &TTrialFigures::MaxAbs));
  return statistics;
}
