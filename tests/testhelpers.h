#ifndef TESTHELPERS_H
#define TESTHELPERS_H

// Helpers shared by the tests: channels with given settings, the main
// window with its controls found by name, a font of known text height,
// resizes that hidden widgets see, assertion reports, graphs and pixels.
#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QTabWidget>
#include <QToolButton>
#include <string>
#include <vector>

#include "encoderchannel.h"
#include "graphwidget.h"
#include "vantrel.h"

struct TChannelSettings
{
  double Gain, Offset, Phase;
};

inline TEncoderChannel MakeChannel(TChannelType Type, const TChannelSettings &Settings = {1, 0, 0})
{
  TEncoderChannel channel;
  channel.d_type = Type;
  channel.SetGain(Settings.Gain);
  channel.SetOffset(Settings.Offset);
  channel.SetPhase(Settings.Phase);
  return channel;
}

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

// The height of a font's text: the unit that graphs lay out in.
inline int TextHeight(const QFont &Font = QFont())
{
  return QFontMetrics(Font).height();
}

// Widgets built in these tests, and painters opened on images, use an
// installed font (the default family first) measured to be 15 pixels
// high, so that layouts can be worked by hand.
class TTextHeight15Test : public ::testing::Test
{
protected:
  TTextHeight15Test()
  {
    QStringList families = QFontDatabase().families();
    families.prepend(QFont().family());
    for (int i = 0; i < 30 * families.size() && TextHeight() != 15; ++i) {
      QFont font(families[i / 30]);
      font.setPixelSize(1 + i % 30);
      if (TextHeight(font) == 15)
        QApplication::setFont(font);
    }
  }
  ~TTextHeight15Test() override { QApplication::setFont(d_Saved); }
  void SetUp() override { ASSERT_EQ(TextHeight(), 15) << "no installed font is 15 pixels high"; }

  const QFont d_Saved = QApplication::font();
};

// Hidden widgets only queue resize events; send the one a shown widget gets.
inline void ResizeAndSend(QWidget &Widget, int Width, int Height)
{
  Widget.resize(Width, Height);
  QResizeEvent event(QSize(Width, Height), QSize());
  QApplication::sendEvent(&Widget, &event);
}

// The runtime's report of a failed assertion, as an extended regex.
inline std::string AssertionReport(const std::string &Expression)
{
  std::string pattern = "Assertion `";
  for (char c : Expression)
    pattern += (std::string("\\.[]()*+?{}|^$").find(c) == std::string::npos ? "" : "\\") +
               std::string(1, c);
  return pattern + "' failed";
}

inline QRect Corners(int Left, int Top, int Right, int Bottom)
{
  return QRect(QPoint(Left, Top), QPoint(Right, Bottom));
}

inline int AddSet(TGraphWidget &Graph, const QColor &Color, int Style,
                  const std::vector<TVector2> &Points)
{
  const int set = Graph.AddDataSet(Color, Style);
  for (const TVector2 &point : Points)
    Graph.AddPoint(set, point);
  return set;
}

// Expects these data values at the plot's left, right, bottom and top edges.
inline void ExpectView(const TGraphMapping &Map, const QRect &Plot,
                       const std::vector<double> &Edges)
{
  const double view[] = {Map.UnmapX(Plot.left()), Map.UnmapX(Plot.right()),
                         Map.UnmapY(Plot.bottom()), Map.UnmapY(Plot.top())};
  for (int i = 0; i < 4; ++i)
    EXPECT_NEAR(view[i], Edges[i], 1e-9) << "edge " << i;
}

// The graph drawn onto a white image through an unscaled painter, so that
// logical and device pixels coincide.
inline QImage RenderedImage(TGraphWidget &Graph, const QSize &Size = QSize(400, 300),
                            bool Untitled = false)
{
  QImage image(Size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  const auto render =
      Untitled ? &TGraphWidget::RenderToDeviceUntitled : &TGraphWidget::RenderToDevice;
  (Graph.*render)(&painter, QRect(QPoint(0, 0), Size), true);
  return image;
}

// The pixels of Area (all of Image by default) within 3 of Color in each
// channel, as scaled drawing blends lines a shade towards white: their
// number, the box round them and their columns and rows in scan order.
struct TFound
{
  int Count = 0;
  QRect Box;
  std::vector<int> Columns, Rows;
};
inline TFound Find(const QImage &Image, const QColor &Color, QRect Area = QRect())
{
  TFound found;
  Area = Area.isNull() ? Image.rect() : Area;
  for (int y = Area.top(); y <= Area.bottom(); ++y)
    for (int x = Area.left(); x <= Area.right(); ++x) {
      const QColor pixel = Image.pixelColor(x, y);
      if (std::abs(pixel.red() - Color.red()) <= 3 &&
          std::abs(pixel.green() - Color.green()) <= 3 &&
          std::abs(pixel.blue() - Color.blue()) <= 3) {
        ++found.Count;
        found.Box |= QRect(x, y, 1, 1);
        found.Columns.push_back(x);
        found.Rows.push_back(y);
      }
    }
  return found;
}

#endif
