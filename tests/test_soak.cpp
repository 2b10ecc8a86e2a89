// A long, seeded run of random control changes, resizes and graph
// gestures on the real window: no Qt warning may appear, and memory must
// not keep growing.
#include <malloc.h>
#include <unistd.h>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPixmapCache>
#include <QTest>
#include <algorithm>
#include <fstream>
#include <iostream>
#include <random>

#include "windowfixture.h"

namespace {

QStringList Problems;
QtMessageHandler PreviousHandler = nullptr;

void RecordProblems(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
  if (type == QtWarningMsg || type == QtCriticalMsg || type == QtFatalMsg)
    Problems << message;
  PreviousHandler(type, context, message);  // still printed where it happens
}

// Freed heap pages go back to the system first, so the figure follows
// what is live rather than the allocator's high-water mark.
long ResidentKiB()
{
  malloc_trim(0);
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

}  // namespace

class WindowSoakTest : public WindowFixture
{
protected:
  int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); }

  void ChangeBox()
  {
    static const char *const names[] = {"gain_a",   "gain_b",  "offset_a",
                                        "offset_b", "phase_a", "phase_b"};
    QDoubleSpinBox *box = Box(names[Pick(6)]);
    std::uniform_real_distribution<double> in_range(box->minimum(), box->maximum());
    switch (Pick(3)) {
      case 0:
        box->setValue(in_range(random));
        break;
      case 1:
        box->stepBy(Pick(2) ? 1 : -1);
        break;
      default:
        box->setValue(Pick(2) ? box->minimum() : box->maximum());
        break;
    }
  }

  // The finest resolution gives counts of 200 to 1200, up to 20 ms an
  // update, so it comes up rarely.
  void ChangeCombo()
  {
    if (Pick(2)) {
      Combo("scale_pitch")->setCurrentIndex(Pick(5));
      return;
    }
    std::discrete_distribution<int> resolution{1, 5, 5, 5, 5};
    Combo("resolution")->setCurrentIndex(resolution(random));
  }

  void Resize()
  {
    static const QSize sizes[] = {{1, 1}, {30, 20}, {120, 80}, {801, 655}, {1600, 1200}};
    window.resize(Pick(2) ? sizes[Pick(5)] : QSize(1 + Pick(1600), 1 + Pick(1200)));
  }

  // A hover for the readout, then a left drag (zoom), a right drag (pan)
  // or, without the moves, a click.
  void Gesture()
  {
    TGraphWidget *graph = Pick(2) ? scope : error_graph;
    auto Mouse = [graph](QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons,
                         const QPoint &pos) {
      QMouseEvent event(type, pos, button, buttons, Qt::NoModifier);
      QApplication::sendEvent(graph, &event);
      QApplication::processEvents();
    };
    auto somewhere = [&] {
      return QPoint(Pick(std::max(1, graph->width())), Pick(std::max(1, graph->height())));
    };
    const QPoint from = somewhere(), to = somewhere();
    const Qt::MouseButton button = Pick(2) ? Qt::LeftButton : Qt::RightButton;
    Mouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, from);
    Mouse(QEvent::MouseButtonPress, button, button, from);
    if (Pick(3))
      for (const QPoint &pos : {(from + to) / 2, to})
        Mouse(QEvent::MouseMove, Qt::NoButton, button, pos);
    Mouse(QEvent::MouseButtonRelease, button, Qt::NoButton, to);
  }

  void RandomChange()
  {
    std::discrete_distribution<int> kinds{60, 15, 5, 5, 10, 5};
    switch (kinds(random)) {
      case 0:
        ChangeBox();
        break;
      case 1:
        ChangeCombo();
        break;
      case 2:
        scope_mode->click();
        break;
      case 3:
        tabs->setCurrentIndex(Pick(tabs->count()));
        break;
      case 4:
        Resize();
        break;
      default:
        Gesture();
        break;
    }
    QApplication::processEvents();
  }

  // Memory is compared in one state: what is live depends on the window
  // size and the report's length. The pixmap cache is bounded (it keeps
  // style pixmaps per size), so it is emptied first.
  long SettledResidentKiB()
  {
    window.resize(801, 655);
    tabs->setCurrentIndex(0);
    Combo("scale_pitch")->setCurrentIndex(1);
    Combo("resolution")->setCurrentIndex(3);
    QApplication::processEvents();
    QPixmapCache::clear();
    return ResidentKiB();
  }

  std::mt19937 random{20240611};
};

TEST_F(WindowSoakTest, TwoThousandRandomChangesLeaveNoWarningAndNoGrowth)
{
  const int changes = 2000, warm_up = 100;
  // Lets the small sizes reach the graphs instead of stopping at the
  // layout's minimum.
  window.setMinimumSize(1, 1);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

  Problems.clear();
  PreviousHandler = qInstallMessageHandler(RecordProblems);
  QElapsedTimer timer;
  timer.start();
  long warm_kib = 0;
  for (int change = 1; change <= changes; ++change) {
    RandomChange();
    if (change == warm_up)
      warm_kib = SettledResidentKiB();
  }
  const long end_kib = SettledResidentKiB();
  const int elapsed_ms = static_cast<int>(timer.elapsed());
  qInstallMessageHandler(PreviousHandler);

  std::cout << changes << " changes in " << elapsed_ms << " ms; resident " << warm_kib
            << " KiB after " << warm_up << ", " << end_kib << " KiB at the end" << std::endl;
  EXPECT_TRUE(Problems.isEmpty()) << Problems.join('\n').toStdString();
#if defined(__SANITIZE_ADDRESS__)
  // The sanitizer keeps freed blocks resident in its quarantine.
  std::cout << "Resident memory is not compared under AddressSanitizer" << std::endl;
#else
  EXPECT_LE(end_kib - warm_kib, 4 * 1024);
#endif
}

// Each new QIcon leaves entries behind in Qt's pixmap cache; the mode
// button must reuse its two icons, or every click keeps a few hundred
// bytes for good.
TEST_F(WindowSoakTest, ModeButtonClicksKeepTheHeapFlat)
{
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's allocator keeps its own books";
#else
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const auto heap = [this] {
    QApplication::processEvents();
    QPixmapCache::clear();
    return static_cast<long>(mallinfo2().uordblks);
  };
  const auto click = [this](int Clicks) {
    for (int i = 0; i < Clicks; ++i) {
      scope_mode->click();
      scope_mode->grab();  // asks the icon for a pixmap, as painting does
    }
  };
  click(2000);  // Qt's own caches settle first
  const int clicks = 3000;
  const long before = heap();
  click(clicks);
  EXPECT_LE(heap() - before, 64 * 1024) << "over " << clicks << " clicks";
#endif
}
