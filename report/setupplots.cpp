#include "setupplots.h"

#include "graphwidget.h"
#include "options.h"
#include "plotfile.h"
#include "plotoutput.h"
#include "signalchain.h"

TEncoderChannel ScopeChannel(const TEncoderSetup &Setup, int Index)
{
  TEncoderChannel channel = Setup.Channel(Index);
  if (Setup.Signal.Plain())
    return channel;
  TSignalChannel signal(Setup, Index, Index == 0 ? GridStreamA : GridStreamB);
  for (TVector2 &point : channel.d_points)
    point.y = signal.Value(point.x);
  return channel;
}

QString DrawSetupPlots(const TReportConfig &Config, const TEvaluation &Evaluation, QIODevice *Plot,
                       QIODevice *Scope)
{
  // A widget needs the application, which a program embedding the report
  // without plots does not make.
  if (!Plot && !Scope)
    return QString();
  TGraphWidget graph;
  if (Plot) {
    ShowErrorGraph(graph, Evaluation.Points);
    QString problem = DrawPlot(graph, Config.PlotPath, Config.PlotSize, *Plot);
    if (!problem.isEmpty())
      return problem;
  }
  if (Scope) {
    ShowScope(graph, ScopeChannel(Config.Setup, 0), ScopeChannel(Config.Setup, 1), Config.ScopeXY);
    return DrawPlot(graph, Config.ScopePath, Config.PlotSize, *Scope);
  }
  return QString();
}
