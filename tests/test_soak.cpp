// A long, seeded run of random control changes, resizes and graph
// gestures on the real window: no Qt warning may appear, and memory must
// not keep growing.
#include <malloc.h>
#include <unistd.h>
#include <QMouseEvent>
#include <QPixmapCache>
#include <QTest>
#include <algorithm>
#include <fstream>
#include <random>

#include "setupparameters.h"
#include "testhelpers.h"

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

  // A random value, a step either way, or an end of the range.
  void ChangeBox()
  {
    QDoubleSpinBox *box = Box(ChannelParameters()[Pick(6)]->Key);
    const int how = Pick(3);
    if (how == 0)
      box->setValue(std::uniform_real_distribution<double>(box->minimum(), box->maximum())(random));
    else if (how == 1)
      box->stepBy(Pick(2) ? 1 : -1);
    else
      box->setValue(Pick(2) ? box->minimum() : box->maximum());
  }

  // A hover for the readout, then a left drag (zoom), a right drag (pan)
  // or, without the moves, a click.
  void Gesture()
  {
    TGraphWidget *graph = Pick(2) ? scope : error_graph;
    const auto mouse = [graph](QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons,
                               const QPoint &pos) {
      QMouseEvent event(type, pos, button, buttons, Qt::NoModifier);
      QApplication::sendEvent(graph, &event);
      QApplication::processEvents();
    };
    // A layout squeezed below its minimum can give a graph negative size.
    const auto somewhere = [&] {
      return QPoint(Pick(std::max(1, graph->width())), Pick(std::max(1, graph->height())));
    };
    const QPoint from = somewhere(), to = somewhere();
    const Qt::MouseButton button = Pick(2) ? Qt::LeftButton : Qt::RightButton;
    mouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, from);
    mouse(QEvent::MouseButtonPress, button, button, from);
    if (Pick(3))
      for (const QPoint &pos : {(from + to) / 2, to})
        mouse(QEvent::MouseMove, Qt::NoButton, button, pos);
    mouse(QEvent::MouseButtonRelease, button, Qt::NoButton, to);
  }

  void RandomChange()
  {
    // The finest resolution (counts of 200 to 1200, up to 20 ms an
    // update) comes up rarely.
    std::discrete_distribution<int> kinds{60, 8, 7, 5, 5, 10, 5};
    std::discrete_distribution<int> resolution{1, 5, 5, 5, 5};
    switch (kinds(random)) {
      case 0:
        ChangeBox();
        break;
      case 1:
        Combo("scale_pitch")->setCurrentIndex(Pick(5));
        break;
      case 2:
        Combo("resolution")->setCurrentIndex(resolution(random));
        break;
      case 3:
        scope_mode->click();
        break;
      case 4:
        tabs->setCurrentIndex(Pick(tabs->count()));
        break;
      case 5:
        window.resize(1 + Pick(Pick(2) ? 1600 : 40), 1 + Pick(Pick(2) ? 1200 : 30));
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
  // Lets the small sizes reach the graphs instead of stopping at the
  // layout's minimum.
  window.setMinimumSize(1, 1);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  Problems.clear();
  PreviousHandler = qInstallMessageHandler(RecordProblems);
  [[maybe_unused]] long warm_kib = 0;
  for (int change = 1; change <= 2000; ++change) {
    RandomChange();
    if (change == 100)
      warm_kib = SettledResidentKiB();
  }
  [[maybe_unused]] const long end_kib = SettledResidentKiB();
  qInstallMessageHandler(PreviousHandler);
  EXPECT_TRUE(Problems.isEmpty()) << Problems.join('\n').toStdString();
#if !defined(__SANITIZE_ADDRESS__)  // its quarantine keeps freed blocks resident
  EXPECT_LE(end_kib - warm_kib, 4 * 1024) << warm_kib << " KiB after 100 changes";
#endif
}

// Each new QIcon leaves entries behind in Qt's pixmap cache; the mode
// button must reuse its two icons, or every click keeps a few hundred
// bytes for good.
TEST_F(WindowSoakTest, ModeButtonClicksKeepTheHeapFlat)
{
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's allocator keeps its own books";
#endif
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const auto heap = [] {
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
  const long before = heap();
  click(3000);
  EXPECT_LE(heap() - before, 64 * 1024) << "over 3000 clicks";
}
