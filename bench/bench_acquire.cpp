// --acquire's pieces against the simulated oscilloscope over a local
// socket, WORD codes: a frame read, a frame read and fitted, and as
// baseline the fit alone of a frame already in memory. Times are wall
// times, since a read mostly waits; frames/s is items_per_second.
#include <benchmark/benchmark.h>
#include <memory>
#include <string>

#include "captureanalysis.h"
#include "framecapture.h"
#include "framesource.h"
#include "scopethread.h"

namespace {

bool Fit(const TFrame &Frame)
{
  TCaptureAnalysis analysis;
  return AnalyseCapture(FrameCapture(TFrame(Frame)), TEncoderSetup(), 0.0, analysis).Kind ==
         TCaptureProblem::None;
}

void Acquire(benchmark::State &State, long Points, bool Fitted)
{
  const TScopeThread scope(Points);
  const std::unique_ptr<TFrameSource> source = scope.Open(State);
  if (!source)
    return;
  static std::string problem;
  for (auto _ : State) {
    TFrame frame;
    if (!source->Next(frame, problem)) {
      State.SkipWithError(problem.c_str());
      return;
    }
    if (Fitted && !Fit(frame)) {
      State.SkipWithError("the frame could not be fitted");
      return;
    }
    benchmark::DoNotOptimize(frame.A.data());
  }
  State.SetItemsProcessed(State.iterations());
}

void FitOnly(benchmark::State &State, long Points)
{
  TFrame frame;
  {
    const TScopeThread scope(Points);
    const std::unique_ptr<TFrameSource> source = scope.Open(State);
    if (!source)
      return;
    static std::string problem;
    if (!source->Next(frame, problem)) {
      State.SkipWithError(problem.c_str());
      return;
    }
  }
  for (auto _ : State)
    benchmark::DoNotOptimize(Fit(frame));
  State.SetItemsProcessed(State.iterations());
}

void BM_Acquire_FitOnly_10k(benchmark::State &state)
{
  FitOnly(state, 10000);
}
BENCHMARK(BM_Acquire_FitOnly_10k)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Acquire_Frame_10k(benchmark::State &state)
{
  Acquire(state, 10000, false);
}
BENCHMARK(BM_Acquire_Frame_10k)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Acquire_FrameAndFit_10k(benchmark::State &state)
{
  Acquire(state, 10000, true);
}
BENCHMARK(BM_Acquire_FrameAndFit_10k)->Unit(benchmark::kMillisecond)->UseRealTime();

// A frame of a million samples a channel: 4 MB on the wire.
void BM_Acquire_FitOnly_1M(benchmark::State &state)
{
  FitOnly(state, 1000000);
}
BENCHMARK(BM_Acquire_FitOnly_1M)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Acquire_Frame_1M(benchmark::State &state)
{
  Acquire(state, 1000000, false);
}
BENCHMARK(BM_Acquire_Frame_1M)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Acquire_FrameAndFit_1M(benchmark::State &state)
{
  Acquire(state, 1000000, true);
}
BENCHMARK(BM_Acquire_FrameAndFit_1M)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
