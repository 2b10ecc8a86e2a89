#ifndef WINDOWFIXTURE_H
#define WINDOWFIXTURE_H

#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <string>

#include "graphwidget.h"
#include "vantrel.h"

struct TChannelSettings
{
  double Gain, Offset, Phase;
};

// A freshly built main window whose controls are found by name.
class WindowFixture : public ::testing::Test
{
protected:
  template <typename Widget>
  Widget *Find(const char *name)
  {
    Widget *widget = window.findChild<Widget *>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QDoubleSpinBox *Box(const char *name) { return Find<QDoubleSpinBox>(name); }
  QComboBox *Combo(const char *name) { return Find<QComboBox>(name); }
  // Channel "a" or "b", through its three spin boxes.
  void SetChannel(const std::string &channel, const TChannelSettings &settings)
  {
    Box(("gain_" + channel).c_str())->setValue(settings.Gain);
    Box(("offset_" + channel).c_str())->setValue(settings.Offset);
    Box(("phase_" + channel).c_str())->setValue(settings.Phase);
  }

  bool IconShows(const char *resource)
  {
    return scope_mode->icon().pixmap(22, 22).toImage().convertToFormat(QImage::Format_ARGB32) ==
           QImage(resource).convertToFormat(QImage::Format_ARGB32);
  }

  // Shows the window and gives it the keyboard, for key-driven tests.
  void ShowActive()
  {
    window.show();
    QApplication::setActiveWindow(&window);
    QApplication::processEvents();
  }

  TVantrel window;
  QLabel *status = Find<QLabel>("status");
  QPlainTextEdit *text = Find<QPlainTextEdit>("text_output");
  QTabWidget *tabs = Find<QTabWidget>("output_tabs");
  TGraphWidget *error_graph = Find<TGraphWidget>("error_graph");
  TGraphWidget *scope = Find<TGraphWidget>("scope");
  QToolButton *scope_mode = Find<QToolButton>("scope_mode");
};

#endif
