#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "testhelpers.h"

using WindowStartTest = WindowFixture;

TEST_F(WindowStartTest, OpensAtItsStartValues)
{
  EXPECT_EQ(window.windowTitle(), "Vantrel - 1.0");
  EXPECT_EQ(window.size(), QSize(801, 655));
  EXPECT_EQ(Combo("scale_pitch")->currentText(), "0.040");
  EXPECT_EQ(Combo("resolution")->currentText(), "0.0050");
  const std::pair<const char *, const char *> texts[] = {
      {"gain_a", "1.00"},   {"gain_b", "1.00"},      {"offset_a", "0.00"},
      {"offset_b", "0.00"}, {"phase_a", "0.000000"}, {"phase_b", "0.000000"}};
  for (const auto &box : texts)
    EXPECT_EQ(Box(box.first)->text(), box.second) << box.first;
  EXPECT_EQ(tabs->currentIndex(), 0);
  EXPECT_FALSE(scope_mode->isChecked());
  EXPECT_TRUE(IconShows(":/gui/gui_ty.png"));
  EXPECT_TRUE(status->text().isEmpty());
  // Construction already computed the first picture.
  EXPECT_EQ(scope->DataSetCount(), 2);
  EXPECT_EQ(error_graph->PointCount(0), 80);
}

// Focus runs down channel A's column before channel B's, through the
// output tabs and the table (when its tab shows) to "Close"; "Save
// protocol...", the mode button and "Open capture..." follow "Close"
// ("Close capture" only while a capture is open), where the chain wraps to
// the pitch again.
TEST_F(WindowStartTest, TabVisitsEveryControlInOrderAndWraps)
{
  QPushButton *close = Find<QPushButton>("close");
  for (int tab : {1, 0}) {
    SCOPED_TRACE(tab == 1 ? "Text tab" : "Graphic tab");
    tabs->setCurrentIndex(tab);
    ShowActive();
    std::vector<QWidget *> chain = {Combo("scale_pitch"), Combo("resolution")};
    for (const char *box : {"gain_a", "offset_a", "phase_a", "gain_b", "offset_b", "phase_b"})
      chain.push_back(Box(box));
    chain.insert(chain.end(), {tabs, text, close, Find<QPushButton>("save_protocol"), scope_mode,
                               Find<QPushButton>("open_capture"), Find<QPushButton>("acquire"),
                               Combo("scale_pitch")});
    if (tab == 0)  // a hidden table takes no focus
      chain.erase(chain.begin() + 9);
    chain.front()->setFocus();
    for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      // hasFocus() also answers for a focus proxy such as the tab bar.
      EXPECT_TRUE(chain[i + 1]->hasFocus())
          << "Tab from " << chain[i]->objectName().toStdString() << " reached "
          << QApplication::focusWidget()->metaObject()->className();
    }
  }
}

TEST_F(WindowStartTest, PhaseStepsStopAtTheLimitAndReturnDoesNotClose)
{
  ShowActive();
  QSignalSpy clicks(Find<QPushButton>("close"), &QPushButton::clicked);
  QDoubleSpinBox *phase = Box("phase_a");
  phase->setFocus();
  for (int step = 1; step <= 10; ++step)
    QTest::keyClick(phase, Qt::Key_Up);
  EXPECT_EQ(phase->text(), "0.785398");
  QTest::keyClick(phase, Qt::Key_Up);
  EXPECT_EQ(phase->text(), "0.785398");
  QTest::keyClick(phase, Qt::Key_Return);
  QTest::keyClick(phase, Qt::Key_Enter);
  EXPECT_EQ(clicks.count(), 0);
  EXPECT_TRUE(window.isVisible());
}

TEST_F(WindowStartTest, CloseButtonEndsTheEventLoop)
{
  window.show();
  QTimer::singleShot(0, &window,
                     [this] { QTest::mouseClick(Find<QPushButton>("close"), Qt::LeftButton); });
  QTimer::singleShot(5000, [] { QApplication::exit(1); });  // watchdog
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_FALSE(window.isVisible());
}
