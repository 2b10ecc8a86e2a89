#ifndef EMBEDDEDRUN_H
#define EMBEDDEDRUN_H

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "options.h"

struct TCaptureView;

// The report run inside another program (the Python module): the same
// options, checks, figures and JSON as the command line, the text kept in
// memory instead of written to standard output.
struct TEmbeddedRun
{
  // The exit status the command line would end with.
  int Status = 0;
  // --format json's text; empty when the run was refused.
  QByteArray Json;
  // The refusal's message, without the program's name before it.
  QString Problem;
};

// Reads Arguments (the report's options, with --format json added) for
// Mode, which is Capture or Evaluation. Empty when they hold, and Config
// then holds them; else the program's message. Options that write files
// are refused: the caller gets the text alone.
QString ReadEmbeddedOptions(QStringList Arguments, TReportMode Mode, TReportConfig &Config);

// --capture on samples in memory, named Name, with their reference
// already subtracted.
TEmbeddedRun RunEmbeddedCapture(const TReportConfig &Config, const TCaptureView &Capture,
                                const QString &Name);
// The evaluation of Config's setup.
TEmbeddedRun RunEmbeddedEvaluation(const TReportConfig &Config);

#endif
