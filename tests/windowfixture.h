#ifndef WINDOWFIXTURE_H
#define WINDOWFIXTURE_H

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

#include "graphwidget.h"
#include "vantrel.h"

// A freshly constructed main window with its controls found by name, as a
// user would find them on the screen.
class WindowFixture : public ::testing::Test
{
protected:
  void SetUp() override
  {
    window = std::make_unique<TVantrel>();
    scale_pitch = Find<QComboBox>("scale_pitch");
    resolution = Find<QComboBox>("resolution");
    gain_a = Find<QDoubleSpinBox>("gain_a");
    gain_b = Find<QDoubleSpinBox>("gain_b");
    offset_a = Find<QDoubleSpinBox>("offset_a");
    offset_b = Find<QDoubleSpinBox>("offset_b");
    phase_a = Find<QDoubleSpinBox>("phase_a");
    phase_b = Find<QDoubleSpinBox>("phase_b");
    status = Find<QLabel>("status");
    text_output = Find<QPlainTextEdit>("text_output");
    output_tabs = Find<QTabWidget>("output_tabs");
    error_graph = Find<TGraphWidget>("error_graph");
    scope = Find<TGraphWidget>("scope");
    scope_mode = Find<QToolButton>("scope_mode");
    close_button = Find<QPushButton>("close");
  }

  template <typename Widget> Widget *Find(const char *name)
  {
    Widget *widget = window->findChild<Widget *>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  // Shows the window and gives it the keyboard, for key-driven tests.
  void ShowActive()
  {
    window->show();
    QApplication::setActiveWindow(window.get());
    QApplication::processEvents();
  }

  std::unique_ptr<TVantrel> window;
  QComboBox *scale_pitch = nullptr;
  QComboBox *resolution = nullptr;
  QDoubleSpinBox *gain_a = nullptr;
  QDoubleSpinBox *gain_b = nullptr;
  QDoubleSpinBox *offset_a = nullptr;
  QDoubleSpinBox *offset_b = nullptr;
  QDoubleSpinBox *phase_a = nullptr;
  QDoubleSpinBox *phase_b = nullptr;
  QLabel *status = nullptr;
  QPlainTextEdit *text_output = nullptr;
  QTabWidget *output_tabs = nullptr;
  TGraphWidget *error_graph = nullptr;
  TGraphWidget *scope = nullptr;
  QToolButton *scope_mode = nullptr;
  QPushButton *close_button = nullptr;
};

#endif
