#ifndef TEST_GRAPHSUPPORT_H
#define TEST_GRAPHSUPPORT_H

// Helpers shared by the graph widget's test programs.
#include <QApplication>
#include <QResizeEvent>
#include <QStringList>
#include <string>

#include "graphwidget.h"

// Hidden widgets only queue resize events; send the one a shown widget gets.
inline void ResizeGraph(TGraphWidget &Graph, int Width, int Height)
{
  Graph.resize(Width, Height);
  QResizeEvent event(QSize(Width, Height), QSize());
  QApplication::sendEvent(&Graph, &event);
}

inline void AddSet(TGraphWidget &Graph, const QColor &Color, int Style,
                   const std::vector<TVector2> &Points)
{
  const int set = Graph.AddDataSet(Color, Style);
  for (const TVector2 &point : Points)
    Graph.AddPoint(set, point);
}

// Collects every message Qt prints while it lives.
class TMessageTrap
{
public:
  TMessageTrap() : d_Previous(qInstallMessageHandler(&Collect)) { Caught().clear(); }
  ~TMessageTrap() { qInstallMessageHandler(d_Previous); }
  std::string Text() const { return Caught().join('\n').toStdString(); }
  bool Quiet() const { return Caught().isEmpty(); }

private:
  static QStringList &Caught()
  {
    static QStringList messages;
    return messages;
  }
  static void Collect(QtMsgType, const QMessageLogContext &, const QString &Message)
  {
    Caught().append(Message);
  }
  QtMessageHandler d_Previous;
};

// The runtime's report of a failed assertion, as an extended regex.
inline std::string AssertionPattern(const std::string &Expression)
{
  std::string pattern = "Assertion `";
  for (char c : Expression) {
    if (std::string("\\.[]()*+?{}|^$").find(c) != std::string::npos)
      pattern += '\\';
    pattern += c;
  }
  return pattern + "' failed";
}

#endif
