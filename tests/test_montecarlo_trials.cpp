// The Monte Carlo study's pieces: a trial against the single summary, the
// draws and their clamping, the statistics and the threads.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "evaluationsummary.h"
#include "studyrun.h"
#include "studystatistics.h"

namespace {

TStudySetup Study(long Trials)
{
  TStudySetup study;
  study.Trials = Trials;
  study.Seed = 12345;
  for (const char *name : {"gain-a", "gain-b", "phase-a", "phase-b"})
    study.Tolerances.Of(SetupParameter(name)) = 0.02;
  for (const char *name : {"offset-a", "offset-b"})
    study.Tolerances.Of(SetupParameter(name)) = 0.03;
  return study;
}

// Bit for bit, so that even the sign of a zero must agree.
bool SameFigures(const TFigureList &A, const TFigureList &B)
{
  bool same = A.size() == B.size();
  for (std::size_t i = 0; same && i < A.size(); ++i)
    same = std::memcmp(&A[i].PeakToPeak, &B[i].PeakToPeak, sizeof(double)) == 0 &&
           std::memcmp(&A[i].MaxAbs, &B[i].MaxAbs, sizeof(double)) == 0 &&
           A[i].CountError == B[i].CountError && A[i].Clamped == B[i].Clamped;
  return same;
}

}  // namespace

TEST(MonteCarloTrialTest, ZeroTolerancesGiveTheSingleSummaryInEveryTrial)
{
  // Ideal, distorted, clipped (A, then B) and miscounting setups at counts
  // 8 and 1200: pitch, resolution, then gains, offsets and phases, each A
  // then B. The single summary is the report's own, separate code.
  const TEncoderSetup setups[] = {{0.040, 0.0050, {1.0, 1.0}, {0.0, 0.0}, {0.0, 0.0}, {}},
                                  {0.120, 0.0001, {1.05, 1.0}, {0.03, -0.02}, {0.0, 0.05}, {}},
                                  {0.040, 0.0050, {1.5, 0.6}, {0.2, -0.3}, {-0.7, 0.78}, {}},
                                  {0.040, 0.0050, {0.3, 1.0}, {0.9, 0.0}, {0.1, 0.0}, {}},
                                  {0.040, 0.0050, {0.9, 1.4}, {-0.05, 0.2}, {0.2, -0.3}, {}}};
  bool some_count_error = false;
  for (const TEncoderSetup &setup : setups) {
    TStudySetup study;
    study.Trials = 5;
    study.Nominal = setup;
    const TEvaluationSummary single = Summarize(study.Nominal, Evaluate(study.Nominal));
    some_count_error |= single.CountError;
    const std::atomic<bool> stop{false};
    const TStudyRun run = RunStudy(study, TShard(), 2, stop, nullptr);
    ASSERT_EQ(run.Figures.size(), 5u);
    for (const TTrialFigures &f : run.Figures) {
      EXPECT_EQ(f.CountError, single.CountError);
      EXPECT_NEAR(f.PeakToPeak, RadToPercentPeriod(single.Error.PeakToPeak), 1e-9);
      EXPECT_NEAR(f.MaxAbs, RadToPercentPeriod(single.Error.MaxAbs), 1e-9);
      EXPECT_EQ(f.Clamped, 0);
    }
  }
  EXPECT_TRUE(some_count_error);
}

TEST(MonteCarloTrialTest, DrawsAreClampedToTheWindowsRangesAndCounted)
{
  TStudySetup study;
  study.Distribution = TDistribution::Uniform;
  study.Nominal.Gain[0] = 1.95;
  study.Nominal.Offset[1] = -0.9;
  study.Nominal.Phase[0] = 0.7;
  for (const char *name : {"gain-a", "offset-b", "phase-a"})
    study.Tolerances.Of(SetupParameter(name)) = 0.5;
  study.Tolerances.Of(SetupParameter("gain-b")) = 0.01;  // never reaches a limit
  int clamped_total = 0, at_limit_total = 0;
  for (long index = 0; index < 200; ++index) {
    const TTrialDraw draw = DrawTrial(study, index);
    const TEncoderSetup &s = draw.Setup;
    // A uniform draw lands on a limit only when it was clamped there.
    const int at_limit =
        (s.Gain[0] == 2.0) + (s.Offset[1] == -1.0) + (s.Phase[0] == 0.78539816339745);
    EXPECT_EQ(draw.Clamped, at_limit) << index;
    EXPECT_GE(s.Gain[0], 1.45);
    EXPECT_LE(s.Gain[0], 2.0);
    EXPECT_GE(s.Offset[1], -1.0);
    EXPECT_LE(s.Phase[0], 0.78539816339745);
    EXPECT_NEAR(s.Gain[1], 1.0, 0.01);
    EXPECT_EQ(s.Offset[0], 0.0);
    clamped_total += draw.Clamped;
    at_limit_total += at_limit;
  }
  // The three draws pass their limits with chance 0.45, 0.4 and 0.415
  // (by hand: (half-width - room) / width): about 253 of them, give or
  // take 12.
  EXPECT_EQ(clamped_total, at_limit_total);
  EXPECT_GT(clamped_total, 215);
  EXPECT_LT(clamped_total, 290);
}

// A uniform draw's spread follows from the clamped counts above.
TEST(MonteCarloTrialTest, NormalDrawsSpreadByTheirToleranceAsOneSigma)
{
  // Six different tolerances, small enough that no draw is clamped.
  const double tolerances[6] = {0.02, 0.04, 0.01, 0.03, 0.05, 0.06};
  const char *const names[6] = {"gain-a", "offset-a", "phase-a", "gain-b", "offset-b", "phase-b"};
  TStudySetup study;
  for (int i = 0; i < 6; ++i)
    study.Tolerances.Of(SetupParameter(names[i])) = tolerances[i];
  const long n = 20000;
  double sums[6] = {}, squares[6] = {}, largest[6] = {};
  for (long index = 0; index < n; ++index) {
    const TTrialDraw draw = DrawTrial(study, index);
    ASSERT_EQ(draw.Clamped, 0);
    for (int p = 0; p < 6; ++p) {
      const TSetupParameter &parameter = SetupParameter(names[p]);
      const double deviation = parameter.In(draw.Setup) - parameter.In(study.Nominal);
      sums[p] += deviation;
      squares[p] += deviation * deviation;
      largest[p] = std::max(largest[p], std::fabs(deviation));
    }
  }
  for (int p = 0; p < 6; ++p) {
    const double mean = sums[p] / n;
    const double deviation = std::sqrt((squares[p] - n * mean * mean) / (n - 1));
    // The sample deviation's relative standard error is 1 / sqrt(2 n) =
    // 0.5 %: 3 % is six of them, while a spread off by a tenth is far
    // outside. The mean within five standard errors of zero; 20000 draws
    // pass 3 sigma about 54 times.
    EXPECT_NEAR(deviation / tolerances[p], 1.0, 0.03) << names[p];
    EXPECT_NEAR(mean, 0.0, 5.0 * tolerances[p] / std::sqrt(n)) << names[p];
    EXPECT_GT(largest[p], 3.0 * tolerances[p]) << names[p];
  }
}

TEST(MonteCarloStatisticsTest, WilsonIntervalNearestRankPercentilesAndTheWorstTrial)
{
  // From the score interval's formula in a separate Python computation
  // (z from statistics.NormalDist().inv_cdf(0.975)); by hand, 0 of n
  // gives exactly 0 and n of n exactly 1.
  const struct
  {
    long Successes, Trials;
    double Low, High;
  } cases[] = {{0, 10, 0.0, 0.27753279986288915},
               {5, 10, 0.23659309051256405, 0.763406909487436},
               {1, 1000, 0.00017654637062607809, 0.005642558597957934},
               {37, 37, 0.9059421741627975, 1.0},
               {50, 100, 0.4038315303659957, 0.5961684696340044}};
  for (const auto &c : cases) {
    const TInterval interval = WilsonInterval(c.Successes, c.Trials);
    EXPECT_NEAR(interval.Low, c.Low, 1e-15) << c.Successes << "/" << c.Trials;
    EXPECT_NEAR(interval.High, c.High, 1e-15) << c.Successes << "/" << c.Trials;
  }

  // Seven values, unsorted: ranks ceil(3.5) = 4, ceil(6.3) = 7, 7, 7. (A
  // thousand's ranks are pinned through the study's JSON, in
  // test_montecarlo_text.)
  const TPercentiles seven = Percentiles({7, 1, 6, 2, 5, 3, 4});
  EXPECT_EQ(seven.P50, 4);
  EXPECT_EQ(seven.P90, 7);
  EXPECT_EQ(seven.P999, 7);

  // Trial 2 has the largest magnitude, a bias, but trial 0 the largest
  // half peak-to-peak; trials 3 and 5 lost counts with equal errors: the
  // lower index of the two is the worst. Over a limit of 1 %: trials 2
  // and 4 by magnitude, trial 0 alone by half the peak-to-peak.
  TFigureList figures;
  figures.resize(6);
  const double max_abs[] = {1.0, 0.2, 3.0, 0.4, 1.5, 0.4};
  const double peak_to_peak[] = {2.4, 0.2, 1.0, 0.4, 1.6, 0.4};
  for (int i = 0; i < 6; ++i) {
    figures[i].MaxAbs = max_abs[i];
    figures[i].PeakToPeak = peak_to_peak[i];
  }
  figures[1].Clamped = 2;
  const struct
  {
    TLimitOn On;
    long OverLimit, Worst;
  } criteria[] = {{TLimitOn::MaxAbs, 2, 2}, {TLimitOn::HalfPeakToPeak, 1, 0}};
  for (const auto &c : criteria) {
    EXPECT_EQ(ComputeStatistics(figures, 1.0, c.On).WorstIndex, c.Worst);
    figures[3].CountError = figures[5].CountError = true;
    const TStudyStatistics statistics = ComputeStatistics(figures, 1.0, c.On, 4, 10);
    figures[3].CountError = figures[5].CountError = false;
    EXPECT_EQ(statistics.WorstIndex, 34);  // trial 3 of a shard 4/10
    EXPECT_EQ(statistics.CountErrors, 2);
    EXPECT_EQ(statistics.OverLimit, c.OverLimit);
    EXPECT_EQ(statistics.Clamped, 2);
  }
}

TEST(MonteCarloStudyTest, ThreadsAndShardsGiveTheSameTrials)
{
  const TStudySetup study = Study(300);
  const std::atomic<bool> go{false};
  const TStudyRun one = RunStudy(study, TShard(), 1, go, nullptr);
  const TStudyRun three = RunStudy(study, TShard(), 3, go, nullptr);
  EXPECT_FALSE(one.Partial);
  EXPECT_TRUE(SameFigures(one.Figures, three.Figures));
  // Shard 1 of 4 holds trials 1, 5, 9, ...: 75 of them.
  const TStudyRun shard = RunStudy(study, TShard{1, 4}, 2, go, nullptr);
  ASSERT_EQ(shard.Figures.size(), 75u);
  TFigureList picked;
  for (long i = 1; i < 300; i += 4)
    picked.push_back(one.Figures[i]);
  EXPECT_TRUE(SameFigures(shard.Figures, picked));
  // The trials differ from each other.
  EXPECT_NE(one.Figures[0].PeakToPeak, one.Figures[1].PeakToPeak);

  const std::atomic<bool> stop{true};
  const TStudyRun stopped = RunStudy(study, TShard(), 2, stop, nullptr);
  EXPECT_TRUE(stopped.Partial);
  EXPECT_TRUE(stopped.Figures.empty());
}

TEST(MonteCarloStudyTest, NominalOnTheCountEdgeLosesCountsInHalfTheTrials)
{
  // At count 8 an offset of A from 0.99356002 up loses counts, below it
  // not: found by bisection with the single report (vantrel-report
  // --offset-a X --format json). A small spread around it loses counts
  // in about half the trials.
  TStudySetup study;
  study.Trials = 2000;
  study.Seed = 12345;
  study.Nominal.Offset[0] = 0.99356002;
  study.Tolerances.Of(SetupParameter("offset-a")) = 0.002;
  const std::atomic<bool> go{false};
  const TStudyRun run = RunStudy(study, TShard(), 2, go, nullptr);
  const TStudyStatistics statistics = ComputeStatistics(run.Figures, 1.0, TLimitOn::MaxAbs);
  const TInterval interval = WilsonInterval(statistics.CountErrors, statistics.Trials);
  EXPECT_LT(interval.Low, 0.5);
  EXPECT_GT(interval.High, 0.5);
  EXPECT_LT(interval.High - interval.Low, 0.05);
}

TEST(MonteCarloStudyTest, StorageGrowsWithTheTrialsDone)
{
  // Fifty million trials, stopped once a thousand are done: the run holds
  // the unbroken run of trials that finished, and no more memory than
  // 32 bytes a trial plus one chunk of the list and its table.
  const TStudySetup study = Study(50000000);
  std::atomic<bool> stop{false};
  long reported = 0;
  const TStudyRun run = RunStudy(study, TShard(), 2, stop, [&](long Done, long Total) {
    EXPECT_EQ(Total, 50000000);
    reported = Done;
    stop = Done >= 1000;
  });
  EXPECT_TRUE(run.Partial);
  EXPECT_GE(run.Figures.size(), static_cast<std::size_t>(std::max(reported, 1000L)));
  EXPECT_EQ(run.Figures.size() % 64, 0u);
  EXPECT_LE(run.Figures.AllocatedBytes(), 32 * run.Figures.size() + 100000);

  // Shrunk and grown again across chunks, a list resets what it regrows.
  TFigureList list;
  list.resize(5000);
  list[9].MaxAbs = list[4999].MaxAbs = 1.0;
  list.resize(10);
  list.resize(5000);
  EXPECT_EQ(list[9].MaxAbs, 1.0);
  EXPECT_EQ(list[4999].MaxAbs, 0.0);
  EXPECT_EQ(list.size(), 5000u);
}
