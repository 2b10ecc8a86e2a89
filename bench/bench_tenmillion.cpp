// The capture's analysis on ten million samples in memory, alone and with
// the report's JSON around it: what the Python module's analyse_capture
// is measured against (scripts/python_speed.py makes the same samples).
#include <benchmark/benchmark.h>
#include <cmath>
#include <vector>

#include "captureanalysis.h"
#include "embeddedrun.h"

namespace {

const std::size_t Samples = 10000000;
const double Periods = 1000.0;

const TCapture &TenMillion()
{
  static const TCapture capture = [] {
    TCapture c;
    c.A.resize(Samples);
    c.B.resize(Samples);
    for (std::size_t i = 0; i < Samples; ++i) {
      const double x = 2.0 * 3.141592653589793 * Periods * i / Samples;
      c.A[i] = 0.02 + 0.9 * std::sin(x + 0.05);
      c.B[i] = -0.01 + std::cos(x);
    }
    return c;
  }();
  return capture;
}

TCaptureView View()
{
  TCaptureView view;
  view.A = TenMillion().A;
  view.B = TenMillion().B;
  return view;
}

void BM_CaptureAnalysis_10M(benchmark::State &state)
{
  const TCaptureView view = View();
  for (auto _ : state) {
    TCaptureAnalysis analysis;
    benchmark::DoNotOptimize(AnalyseCapture(view, TEncoderSetup(), 0.0, analysis));
  }
}
BENCHMARK(BM_CaptureAnalysis_10M)->Unit(benchmark::kMillisecond);

void BM_CaptureJson_10M(benchmark::State &state)
{
  const TCaptureView view = View();
  TReportConfig config;
  ReadEmbeddedOptions({"--capture", "samples"}, TReportMode::Capture, config);
  for (auto _ : state)
    benchmark::DoNotOptimize(RunEmbeddedCapture(config, view, "samples"));
}
BENCHMARK(BM_CaptureJson_10M)->Unit(benchmark::kMillisecond);

}  // namespace
