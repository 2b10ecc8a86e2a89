#include <QGroupBox>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "windowfixture.h"

using WindowStartTest = WindowFixture;

TEST_F(WindowStartTest, OpensAtItsStartValues)
{
  EXPECT_EQ(window->windowTitle(), "Vantrel - 1.0");
  EXPECT_EQ(window->size(), QSize(801, 655));
  EXPECT_EQ(scale_pitch->currentText(), "0.040");
  EXPECT_EQ(resolution->currentText(), "0.0050");
  for (QDoubleSpinBox *gain : {gain_a, gain_b})
    EXPECT_EQ(gain->text(), "1.00");
  for (QDoubleSpinBox *offset : {offset_a, offset_b})
    EXPECT_EQ(offset->text(), "0.00");
  for (QDoubleSpinBox *phase : {phase_a, phase_b})
    EXPECT_EQ(phase->text(), "0.000000");
  EXPECT_EQ(output_tabs->currentIndex(), 0);
  EXPECT_EQ(output_tabs->tabText(0), "Graphic");
  EXPECT_EQ(output_tabs->tabText(1), "Text");
  EXPECT_TRUE(scope_mode->isCheckable());
  EXPECT_FALSE(scope_mode->isChecked());
  EXPECT_EQ(scope_mode->size(), QSize(22, 22));
  EXPECT_FALSE(scope_mode->icon().isNull());
  EXPECT_TRUE(status->text().isEmpty());
  EXPECT_EQ(close_button->text(), "Close");
  EXPECT_FALSE(close_button->autoDefault());
  EXPECT_TRUE(text_output->isReadOnly());
}

TEST_F(WindowStartTest, ShowsEveryLabelAndGroup)
{
  QStringList texts;
  for (QLabel *label : window->findChildren<QLabel *>())
    texts << label->text();
  for (const char *expected :
       {"Scale Pitch:", "Interpolated Resolution:", "Display Mode:",
        "Channel A (SIN)", "Channel B (COS)", "Gain:", "Offset:", "Phase:",
        "mm"})
    EXPECT_TRUE(texts.contains(expected)) << expected;
  EXPECT_EQ(texts.count("Gain:"), 2);
  QStringList groups;
  for (QGroupBox *group : window->findChildren<QGroupBox *>())
    groups << group->title();
  EXPECT_EQ(groups, QStringList({"Encoder Setup", "Output Evaluation"}));
}

TEST_F(WindowStartTest, ComboBoxesOfferTheFixedChoices)
{
  QStringList pitches, resolutions;
  for (int i = 0; i < scale_pitch->count(); ++i)
    pitches << scale_pitch->itemText(i);
  for (int i = 0; i < resolution->count(); ++i)
    resolutions << resolution->itemText(i);
  EXPECT_EQ(pitches, QStringList({"0.020", "0.040", "0.080", "0.100", "0.120"}));
  EXPECT_EQ(resolutions,
            QStringList({"0.0001", "0.0005", "0.0010", "0.0050", "0.0100"}));
  EXPECT_FALSE(scale_pitch->isEditable());
}

TEST_F(WindowStartTest, SpinBoxesHaveTheirRangesAndSteps)
{
  struct Expected
  {
    QDoubleSpinBox *box;
    int decimals;
    double minimum, maximum, step;
  };
  const Expected cases[] = {
      {gain_a, 2, 0.1, 2.0, 0.05},       {gain_b, 2, 0.1, 2.0, 0.05},
      {offset_a, 2, -1.0, 1.0, 0.1},     {offset_b, 2, -1.0, 1.0, 0.1},
      {phase_a, 6, -0.785398, 0.785398, 0.07853981633975},
      {phase_b, 6, -0.785398, 0.785398, 0.07853981633975},
  };
  for (const Expected &e : cases) {
    SCOPED_TRACE(e.box->objectName().toStdString());
    EXPECT_EQ(e.box->decimals(), e.decimals);
    EXPECT_DOUBLE_EQ(e.box->minimum(), e.minimum);
    EXPECT_DOUBLE_EQ(e.box->maximum(), e.maximum);
    EXPECT_DOUBLE_EQ(e.box->singleStep(), e.step);
    EXPECT_EQ(e.box->alignment(), Qt::AlignCenter);
  }
}

TEST_F(WindowStartTest, GraphsCarryTheirTitlesAndExtents)
{
  EXPECT_EQ(scope->Title(), "Oscilloscope - Dual Channel Mode");
  EXPECT_EQ(scope->HTitle(), "Channel AB Radian Position");
  EXPECT_EQ(scope->VTitle(), "Signal");
  EXPECT_DOUBLE_EQ(scope->MinimumYExtent(), 1.0);
  EXPECT_FALSE(scope->EqualAspect());
  EXPECT_EQ(error_graph->Title(), "Scale Interpolation Data");
  EXPECT_EQ(error_graph->HTitle(), "Scale Position");
  EXPECT_EQ(error_graph->VTitle(), "Interpolation Error");
  EXPECT_DOUBLE_EQ(error_graph->MinimumYExtent(), 0.001);
}

TEST_F(WindowStartTest, TabRunsDownChannelAThenChannelB)
{
  // The text table takes the focus only while its tab is shown.
  output_tabs->setCurrentIndex(1);
  ShowActive();
  const std::vector<QWidget *> chain = {scale_pitch, resolution, gain_a,
                                        offset_a,    phase_a,    gain_b,
                                        offset_b,    phase_b,    output_tabs,
                                        text_output};
  chain.front()->setFocus();
  for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
    // hasFocus() also answers for a focus proxy, such as the tab bar of
    // the output tabs.
    ASSERT_TRUE(chain[i]->hasFocus()) << i;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(chain[i + 1]->hasFocus())
        << "Tab from " << chain[i]->objectName().toStdString();
  }
  // The table passes the focus on: Close comes before the chain wraps
  // round to the first control.
  for (int presses = 0; presses < 3 && !close_button->hasFocus(); ++presses) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_FALSE(scale_pitch->hasFocus());
  }
  EXPECT_TRUE(close_button->hasFocus());
}

TEST_F(WindowStartTest, ReturnInAControlDoesNotPressClose)
{
  ShowActive();
  QSignalSpy clicks(close_button, &QPushButton::clicked);
  for (QWidget *control : std::vector<QWidget *>{gain_a, phase_b, scale_pitch}) {
    control->setFocus();
    QTest::keyClick(control, Qt::Key_Return);
    QTest::keyClick(control, Qt::Key_Enter);
  }
  EXPECT_EQ(clicks.count(), 0);
  EXPECT_TRUE(window->isVisible());
}

TEST_F(WindowStartTest, PhaseStepsStopAtTheLimit)
{
  ShowActive();
  phase_a->setFocus();
  for (int step = 1; step <= 10; ++step)
    QTest::keyClick(phase_a, Qt::Key_Up);
  EXPECT_EQ(phase_a->text(), "0.785398");
  QTest::keyClick(phase_a, Qt::Key_Up);
  EXPECT_EQ(phase_a->text(), "0.785398");
  EXPECT_LE(phase_a->value(), 0.785398);
  for (int step = 1; step <= 20; ++step)
    QTest::keyClick(phase_a, Qt::Key_Down);
  EXPECT_EQ(phase_a->text(), "-0.785398");
}

TEST_F(WindowStartTest, CloseButtonEndsTheEventLoop)
{
  window->show();
  QTimer::singleShot(0, close_button, [this] {
    QTest::mouseClick(close_button, Qt::LeftButton);
  });
  // A watchdog so a window that stays open fails instead of hanging.
  bool timed_out = false;
  QTimer::singleShot(5000, [&timed_out] {
    timed_out = true;
    QApplication::exit(1);
  });
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_FALSE(timed_out);
  EXPECT_FALSE(window->isVisible());
}

TEST_F(WindowStartTest, EscapeClosesTheWindowAndEndsTheEventLoop)
{
  ShowActive();
  QTimer::singleShot(0, window.get(), [this] {
    QTest::keyClick(window.get(), Qt::Key_Escape);
  });
  bool timed_out = false;
  QTimer::singleShot(5000, [&timed_out] {
    timed_out = true;
    QApplication::exit(1);
  });
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_FALSE(timed_out);
}
