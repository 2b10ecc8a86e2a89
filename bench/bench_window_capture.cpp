// The window with a capture: opening a million rows from a file, and a
// control change with a capture open against the same change without one.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>

#include "graphwidget.h"
#include "vantrel.h"

namespace {

// A scope export of a million rows round zero, written once.
const QString &MillionRowFile()
{
  static QTemporaryDir dir;
  static const QString path = [] {
    QString file = dir.filePath("million.csv");
    QByteArray text = "Time,CH1,CH2\r\n";
    for (int i = 0; i < 1000000; ++i) {
      const double angle = 3.0 * 6.283185307179586 * i / 1000000;
      text += QByteArray::number(i * 1e-6, 'g', 8) + ',' +
              QByteArray::number(0.02 + 0.5 * std::sin(angle + 0.05), 'g', 12) + ',' +
              QByteArray::number(-0.01 + 0.48 * std::cos(angle), 'g', 12) + "\r\n";
    }
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size())
      std::abort();
    return file;
  }();
  return path;
}

// The shown window with the benchmarks' 700 x 300 error graph.
struct TShownWindow
{
  TShownWindow()
  {
    window.findChild<TGraphWidget *>("error_graph")->setFixedSize(700, 300);
    window.show();
    QApplication::processEvents();
  }
  TVantrel window;
};

void BM_WindowOpenCapture_1M(benchmark::State &state)
{
  const QString &path = MillionRowFile();
  TShownWindow fixture;
  for (auto _ : state)
    if (!fixture.window.OpenCapture(path))
      state.SkipWithError("refused");
}
BENCHMARK(BM_WindowOpenCapture_1M)->Unit(benchmark::kMillisecond)->UseRealTime();

// One step of channel A's gain and back: two full updates, with the
// boxes at the capture's model. The baseline opens the capture, closes it
// again and sets the boxes back to the model, which closing undid, so
// that only the measurement on screen differs.
void ControlChange(benchmark::State &state, bool keep_capture)
{
  TShownWindow fixture;
  if (!fixture.window.OpenCapture(MillionRowFile()))
    state.SkipWithError("refused");
  if (!keep_capture) {
    const QList<QDoubleSpinBox *> boxes = fixture.window.findChildren<QDoubleSpinBox *>();
    QList<double> model;
    for (const QDoubleSpinBox *box : boxes)
      model << box->value();
    fixture.window.CloseCapture();
    for (int i = 0; i < boxes.size(); ++i)
      boxes[i]->setValue(model[i]);
  }
  QDoubleSpinBox *gain = fixture.window.findChild<QDoubleSpinBox *>("gain_a");
  for (auto _ : state) {
    gain->stepUp();
    gain->stepDown();
  }
}

void BM_ControlChange_Baseline(benchmark::State &state)
{
  ControlChange(state, false);
}
BENCHMARK(BM_ControlChange_Baseline)->Unit(benchmark::kMillisecond);

void BM_ControlChange_Capture(benchmark::State &state)
{
  ControlChange(state, true);
}
BENCHMARK(BM_ControlChange_Capture)->Unit(benchmark::kMillisecond);

}  // namespace
