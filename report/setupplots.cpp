#include "setupplots.h"

#include "graphwidget.h"
#include "options.h"
#include "plotfile.h"
#include "plotoutput.h"

QString DrawSetupPlots(const TReportConfig &Config, const TEvaluation &Evaluation, QIODevice *Plot,
                       QIODevice *Scope)
{
  TGraphWidget graph;
  if (Plot) {
    ShowErrorGraph(graph, Evaluation.Points);
    const QString problem = DrawPlot(graph, Config.PlotPath, Config.PlotSize, *Plot);
    if (!problem.isEmpty())
      return problem;
  }
  if (Scope) {
    ShowScope(graph, Config.Setup.Channel(0), Config.Setup.Channel(1), Config.ScopeXY);
    return DrawPlot(graph, Config.ScopePath, Config.PlotSize, *Scope);
  }
  return QString();
}
