// One Monte Carlo trial at counts 8 and 1200 against its baseline, the
// single report's evaluation plus summary of the same setup, measured in
// the same run.
#include <benchmark/benchmark.h>

#include "evaluationsummary.h"
#include "studytrial.h"

namespace {

TStudySetup Study(double Resolution)
{
  TStudySetup study;
  study.Nominal.Pitch = Resolution == 0.0050 ? 0.040 : 0.120;
  study.Nominal.Resolution = Resolution;
  for (const TSetupParameter *parameter : ChannelParameters())
    study.Tolerances.Of(*parameter) = 0.02;
  return study;
}

// Baseline: what a trial would cost through the single report.
void BM_MonteCarloBaseline_EvaluateSummarize(benchmark::State &state)
{
  const TStudySetup study = Study(state.range(0) == 8 ? 0.0050 : 0.0001);
  const TEncoderSetup setup = DrawTrial(study, 3).Setup;
  for (auto _ : state)
    benchmark::DoNotOptimize(Summarize(setup, Evaluate(setup)));
}
BENCHMARK(BM_MonteCarloBaseline_EvaluateSummarize)
    ->Arg(8)
    ->Arg(1200)
    ->Unit(benchmark::kMicrosecond);

// A whole trial: its draw, the interpolator's run and the cheap summary.
void BM_MonteCarloTrial(benchmark::State &state)
{
  const TStudySetup study = Study(state.range(0) == 8 ? 0.0050 : 0.0001);
  const TTrialEvaluator evaluator;
  long index = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(evaluator.Evaluate(DrawTrial(study, index++).Setup));
}
BENCHMARK(BM_MonteCarloTrial)->Arg(8)->Arg(1200)->Unit(benchmark::kMicrosecond);

// The pieces: the draw alone and the interpolation error alone.
void BM_MonteCarloDraw(benchmark::State &state)
{
  const TStudySetup study = Study(0.0050);
  long index = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(DrawTrial(study, index++));
}
BENCHMARK(BM_MonteCarloDraw)->Unit(benchmark::kMicrosecond);

void BM_MonteCarloInterpolationError(benchmark::State &state)
{
  const TEncoderSetup setup = DrawTrial(Study(0.0050), 3).Setup;
  const TTrialEvaluator evaluator;
  double peak_to_peak = 0.0, max_abs = 0.0;
  for (auto _ : state) {
    evaluator.InterpolationError(setup, peak_to_peak, max_abs);
    benchmark::DoNotOptimize(peak_to_peak + max_abs);
  }
}
BENCHMARK(BM_MonteCarloInterpolationError)->Unit(benchmark::kMicrosecond);

}  // namespace
