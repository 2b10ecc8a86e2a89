// The report's pieces at pitch 0.120 / resolution 0.0001 (count 1200,
// 12000 table rows), against the interpolator's run alone as baseline.
#include <benchmark/benchmark.h>
#include <QBuffer>

#include "evaluationtext.h"
#include "graphwidget.h"
#include "interpolationerror.h"
#include "plotfile.h"
#include "summarytext.h"
#include "sweeptext.h"

namespace {

TEncoderSetup Count1200()
{
  TEncoderSetup setup;
  setup.Pitch = 0.120;
  setup.Resolution = 0.0001;
  setup.Gain[0] = 1.05;
  setup.Offset[1] = 0.02;
  setup.Phase[0] = 0.05;
  return setup;
}

// Baseline: the interpolator over one pitch and back, 12000 points.
void BM_ReportBaseline_Evaluate_C1200(benchmark::State &state)
{
  const TEncoderSetup setup = Count1200();
  for (auto _ : state)
    benchmark::DoNotOptimize(Evaluate(setup));
}
BENCHMARK(BM_ReportBaseline_Evaluate_C1200)->Unit(benchmark::kMillisecond);

// What --format table adds to start-up: the evaluation and 12000 rows.
void BM_ReportTable_C1200(benchmark::State &state)
{
  const TEncoderSetup setup = Count1200();
  for (auto _ : state) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteTable(buffer, setup, Evaluate(setup));
    benchmark::DoNotOptimize(buffer.data().size());
  }
}
BENCHMARK(BM_ReportTable_C1200)->Unit(benchmark::kMillisecond);

void BM_ReportCsv_C1200(benchmark::State &state)
{
  const TEncoderSetup setup = Count1200();
  for (auto _ : state) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteCsv(buffer, Evaluate(setup));
    benchmark::DoNotOptimize(buffer.data().size());
  }
}
BENCHMARK(BM_ReportCsv_C1200)->Unit(benchmark::kMillisecond);

void BM_ReportInterpolationError(benchmark::State &state)
{
  const TEncoderSetup setup = Count1200();
  const TEncoderChannel a = setup.Channel(0), b = setup.Channel(1);
  for (auto _ : state)
    benchmark::DoNotOptimize(ComputeInterpolationError(a, b));
}
BENCHMARK(BM_ReportInterpolationError)->Unit(benchmark::kMillisecond);

// What --format summary adds: the evaluation, 4096 angles and the text.
void BM_ReportSummary_C1200(benchmark::State &state)
{
  const TEncoderSetup setup = Count1200();
  for (auto _ : state)
    benchmark::DoNotOptimize(SummaryText(Summarize(setup, Evaluate(setup))));
}
BENCHMARK(BM_ReportSummary_C1200)->Unit(benchmark::kMillisecond);

void BM_ReportSweep41_C1200(benchmark::State &state)
{
  const TEncoderSetup setup = Count1200();
  TSweep sweep;
  sweep.Parameter = &SetupParameter("gain-a");
  sweep.From = 0.9;
  sweep.To = 1.1;
  sweep.Steps = 41;
  for (auto _ : state) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteSweep(buffer, sweep, RunSweep(setup, sweep));
    benchmark::DoNotOptimize(buffer.data().size());
  }
}
BENCHMARK(BM_ReportSweep41_C1200)->Unit(benchmark::kMillisecond);

void BM_ReportPlotPng_C1200(benchmark::State &state)
{
  const TEncoderSetup setup = Count1200();
  for (auto _ : state) {
    TGraphWidget graph;
    ShowErrorGraph(graph, Evaluate(setup).Points);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WritePlot(graph, TPlotFormat::Png, QSize(700, 300), buffer);
    benchmark::DoNotOptimize(buffer.data().size());
  }
}
BENCHMARK(BM_ReportPlotPng_C1200)->Unit(benchmark::kMillisecond);

}  // namespace
