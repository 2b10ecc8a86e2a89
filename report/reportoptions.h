#ifndef REPORTOPTIONS_H
#define REPORTOPTIONS_H

#include <QSize>
#include <QString>
#include <QStringList>

#include "captureoptions.h"
#include "encodersetup.h"
#include "montecarlooptions.h"
#include "sweep.h"

enum class TReportFormat
{
  Table,
  Csv,
  Summary,
  Json
};

struct TReportOptions
{
  TEncoderSetup Setup;
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

#endif
