// The window live on the simulated oscilloscope, 10,000 WORD samples a
// channel: how many frames it shows a second, and a control change while
// frames arrive against the same change with the acquisition stopped
// (the baseline), each with the slowest change seen.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QPlainTextEdit>

#include "graphwidget.h"
#include "scopethread.h"
#include "vantrel.h"

namespace {

struct TLiveWindow
{
  explicit TLiveWindow(const TScopeThread &Scope)
  {
    window.findChild<TGraphWidget *>("error_graph")->setFixedSize(700, 300);
    window.show();
    window.StartAcquisition(QString::fromStdString(Scope.Address()));
    NextFrame();
  }
  // Runs the event loop until the window shows a frame it did not show.
  bool NextFrame()
  {
    const QString shown = figures->toPlainText();
    QElapsedTimer timer;
    timer.start();
    while (figures->toPlainText() == shown) {
      QApplication::processEvents(QEventLoop::AllEvents, 10);
      if (timer.elapsed() > 5000)
        return false;
    }
    return true;
  }
  TVantrel window;
  QPlainTextEdit *figures = window.findChild<QPlainTextEdit *>("capture_text");
};

void BM_WindowLive_FramesShown_10k(benchmark::State &state)
{
  const TScopeThread scope(10000);
  TLiveWindow live(scope);
  for (auto _ : state)
    if (!live.NextFrame()) {
      state.SkipWithError("no frame within 5 s");
      return;
    }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WindowLive_FramesShown_10k)->Unit(benchmark::kMillisecond)->UseRealTime();

// One step of channel A's gain and back, after whatever frame came in
// meanwhile was shown: what a user waits for.
void ControlChange(benchmark::State &state, bool acquiring)
{
  const TScopeThread scope(10000);
  TLiveWindow live(scope);
  if (!acquiring)
    live.window.StopAcquisition();
  QDoubleSpinBox *gain = live.window.findChild<QDoubleSpinBox *>("gain_a");
  double slowest = 0.0;
  QElapsedTimer timer;
  for (auto _ : state) {
    timer.start();
    QApplication::processEvents();
    gain->stepUp();
    gain->stepDown();
    slowest = std::max(slowest, timer.nsecsElapsed() / 1e6);
  }
  state.counters["slowest_ms"] = slowest;
}

void BM_WindowLive_ControlChange_Stopped(benchmark::State &state)
{
  ControlChange(state, false);
}
BENCHMARK(BM_WindowLive_ControlChange_Stopped)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WindowLive_ControlChange_Acquiring(benchmark::State &state)
{
  ControlChange(state, true);
}
BENCHMARK(BM_WindowLive_ControlChange_Acquiring)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
