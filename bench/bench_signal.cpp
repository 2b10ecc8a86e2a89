// The signal chain's cost: each benchmark runs the plain setup (0), a
// third harmonic (1), harmonic and noise (2) and all three with a 12-bit
// ADC (3), so the ratios to 0 come from the same run.
#include <benchmark/benchmark.h>

#include "evaluationsummary.h"
#include "studytrial.h"

namespace {

TEncoderSetup Setup(long Signal, double Resolution)
{
  TEncoderSetup setup;
  setup.Pitch = 0.040;
  setup.Resolution = Resolution;
  setup.Gain[1] = 0.98;
  setup.Offset[0] = 0.01;
  setup.Phase[0] = 0.02;
  if (Signal >= 1)
    setup.Signal.Harmonic[3] = 0.015;
  if (Signal >= 2)
    setup.Signal.Noise = 0.001;
  if (Signal >= 3)
    setup.Signal.AdcBits = 12;
  return setup;
}

// The counter's run over one pitch at count 1200.
void BM_SignalEvaluate_C1200(benchmark::State &state)
{
  const TEncoderSetup setup = Setup(state.range(0), 0.040 / 1200);
  for (auto _ : state)
    benchmark::DoNotOptimize(Evaluate(setup));
}
BENCHMARK(BM_SignalEvaluate_C1200)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// The summary's figures: the run at count 8, the error grid, the
// correction.
void BM_SignalSummarize_C8(benchmark::State &state)
{
  const TEncoderSetup setup = Setup(state.range(0), 0.0050);
  for (auto _ : state)
    benchmark::DoNotOptimize(Summarize(setup, Evaluate(setup)));
}
BENCHMARK(BM_SignalSummarize_C8)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// One study trial at count 8.
void BM_SignalTrial_C8(benchmark::State &state)
{
  TStudySetup study;
  study.Nominal = Setup(state.range(0), 0.0050);
  for (const TSetupParameter *parameter : ChannelParameters())
    study.Tolerances.Of(*parameter) = 0.02;
  const TTrialEvaluator evaluator;
  long index = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(evaluator.Evaluate(DrawTrial(study, index++).Setup));
}
BENCHMARK(BM_SignalTrial_C8)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

}  // namespace
