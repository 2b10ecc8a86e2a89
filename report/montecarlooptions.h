#ifndef MONTECARLOOPTIONS_H
#define MONTECARLOOPTIONS_H

#include <QString>
#include <QStringList>

#include "studyrun.h"

class QCommandLineParser;
struct TReportOptions;

// A tolerance study: --monte-carlo N with the setup as nominal values, or
// --merge FILE... of shard results.
struct TMonteCarloOptions
{
  bool Enabled = false;
  bool Merge = false;
  QStringList MergeFiles;
  TStudySetup Study;
  TShard Shard;
  bool Sharded = false;
  int Threads = 1;
  bool Quiet = false;
};

void AddMonteCarloOptions(QCommandLineParser &Parser);

// Reads the study's options into Options.MonteCarlo once the setup and
// the common options are in; empty when they are fine, else the message.
QString InterpretMonteCarlo(const QCommandLineParser &Parser, TReportOptions &Options);

#endif
