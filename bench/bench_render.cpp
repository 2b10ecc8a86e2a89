#include <benchmark/benchmark.h>
#include <QApplication>
#include <cmath>

#include "graphwidget.h"

namespace {

// A full render of 24000 line segments on a 700 x 300 graph.
void BM_Replot_24000Segments(benchmark::State &state)
{
  TGraphWidget graph;
  graph.resize(700, 300);
  graph.show();
  QApplication::processEvents();
  const int set = graph.AddDataSet(QColor(0, 0, 128), 0);
  for (int i = 0; i <= 24000; ++i)
    graph.AddPoint(set, TVector2(i * 1e-5, 0.002 * std::sin(i * 0.01)));
  for (auto _ : state)
    graph.Replot();
}
BENCHMARK(BM_Replot_24000Segments)->Unit(benchmark::kMillisecond);

}  // namespace
