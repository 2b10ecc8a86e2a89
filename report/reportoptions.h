#ifndef REPORTOPTIONS_H
#define REPORTOPTIONS_H

#include <QSize>
#include <QString>
#include <QStringList>

#include "captureoptions.h"
#include "montecarlooptions.h"
#include "reportsetup.h"

enum class TReportFormat
{
  Table,
  Csv,
  Summary,
  Json
};

// A channel parameter that a sweep steps through.
struct TSweep
{
  QString Name;  // the option's name, e.g. "gain-a"
  double From = 0.0;
  double To = 0.0;
  int Steps = 0;

  // Value number Index of 0 ... Steps - 1; both ends exact.
  double Value(int Index) const;
};

struct TReportOptions
{
  TReportSetup Setup;
  TReportFormat Format = TReportFormat::Table;
  QString OutputPath;  // empty: standard output
  QString PlotPath;
  QString ScopePath;
  bool ScopeXY = false;
  QSize PlotSize = QSize(700, 300);
  bool HasSweep = false;
  TSweep Sweep;
  TCaptureOptions Capture;
  TMonteCarloOptions MonteCarlo;
};

// What a command line asks for. Error carries a one-line message.
struct TParsedCommandLine
{
  enum TAction
  {
    Run,
    Help,
    Version,
    Error
  } Action = Run;
  TReportOptions Options;
  QString Message;
  QString HelpText;
};

// Arguments without the program name.
TParsedCommandLine ParseCommandLine(const QStringList &Arguments);

// Sets the channel parameter a sweep names in Setup; false for an unknown
// name.
bool SetChannelParameter(TReportSetup &Setup, const QString &Name, double Value);

#endif
