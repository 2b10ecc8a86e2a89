#include <benchmark/benchmark.h>
#include <QApplication>
#include <QComboBox>
#include <QPlainTextEdit>

#include "encoderchannel.h"
#include "encoderinterpolator.h"
#include "evaluationreport.h"
#include "graphwidget.h"
#include "vantrel.h"

namespace {

struct TIdealChannels
{
  TIdealChannels()
  {
    a.d_type = SIN_CHANNEL;
    b.d_type = COS_CHANNEL;
  }
  TEncoderChannel a;
  TEncoderChannel b;
};

void BM_Evaluate(benchmark::State &state)
{
  const TIdealChannels channels;
  TEncoderInterpolator interpolator;
  interpolator.SetInterpolatorCount(static_cast<int>(state.range(0)));
  const double pitch = 0.0001 * static_cast<double>(state.range(0));
  bool error = false;
  for (auto _ : state)
    benchmark::DoNotOptimize(interpolator.Evaluate(pitch, channels.a, channels.b, &error));
  state.SetItemsProcessed(state.iterations() * 10 * state.range(0));
}
BENCHMARK(BM_Evaluate)->Arg(8)->Arg(1200)->Unit(benchmark::kMicrosecond);

// The real window, shown headless, with a 700 x 300 error graph.
struct TWindow
{
  TWindow(const char *pitch, const char *resolution)
  {
    window.findChild<QComboBox *>("scale_pitch")->setCurrentText(pitch);
    window.findChild<QComboBox *>("resolution")->setCurrentText(resolution);
    window.findChild<TGraphWidget *>("error_graph")->setFixedSize(700, 300);
    window.show();
    QApplication::processEvents();
  }
  TVantrel window;
};

// The whole evaluation a setup change runs: table text, graph data and the
// error graph's replot.
void UpdateEvaluation(benchmark::State &state, const char *pitch, const char *resolution)
{
  TWindow fixture(pitch, resolution);
  for (auto _ : state)
    QMetaObject::invokeMethod(&fixture.window, "Setup_Changed", Qt::DirectConnection);
}

void BM_UpdateEvaluation_Start(benchmark::State &state)
{
  UpdateEvaluation(state, "0.040", "0.0050");
}
BENCHMARK(BM_UpdateEvaluation_Start)->Unit(benchmark::kMillisecond);

void BM_UpdateEvaluation_C1200(benchmark::State &state)
{
  UpdateEvaluation(state, "0.120", "0.0001");
}
BENCHMARK(BM_UpdateEvaluation_C1200)->Unit(benchmark::kMillisecond);

// Baseline: the same 12000-row report appended to the window's table one
// line at a time, the way a naive rewrite would do it.
void BM_Baseline_AppendLineByLine_C1200(benchmark::State &state)
{
  TWindow fixture("0.120", "0.0001");
  const TIdealChannels channels;
  TEncoderInterpolator interpolator;
  interpolator.SetInterpolatorCount(1200);
  bool error = false;
  const std::vector<TVector2> points = interpolator.Evaluate(0.120, channels.a, channels.b, &error);
  QPlainTextEdit *text = fixture.window.findChild<QPlainTextEdit *>("text_output");
  for (auto _ : state) {
    text->clear();
    for (const QString &line : EvaluationHeaderLines(0.120, 0.0001, 1200))
      text->appendPlainText(line);
    int number = 1;
    for (const TVector2 &point : points)
      text->appendPlainText(EvaluationRow(number++, point));
  }
}
BENCHMARK(BM_Baseline_AppendLineByLine_C1200)->Unit(benchmark::kMillisecond);

}  // namespace
