#ifndef OPTIONS_H
#define OPTIONS_H

#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

#include "captureoptions.h"
#include "correctiontable.h"
#include "encodersetup.h"
#include "signallimits.h"
#include "studyrun.h"
#include "sweep.h"

// What a run does; the options that select it are --sweep, --capture,
// --acquire, --monte-carlo and --merge.
enum class TReportMode
{
  Evaluation,  // table, csv, summary or json of the setup
  Sweep,
  Capture,
  Study,
  Merge,
  Acquire,  // frames from an instrument, each fitted as a capture
};

enum class TReportFormat
{
  Table,
  Csv,
  Summary,
  Json
};

struct TCaptureConfig
{
  QString Path;  // "-": standard input
  TCaptureOptions Options;
  double Amplitude = 0.0;  // 0: the fitted signals' peak
  bool PitchGiven = false;
  bool ResolutionGiven = false;
};

// Frames from an instrument; the capture's config says how to fit them.
struct TAcquireConfig
{
  QString Source;
  long Frames = 1;
  QString SavePath;  // empty: not saved
};

// A tolerance study run here (Study) or merged from shards (Merge).
struct TStudyConfig
{
  TStudySetup Study;
  TShard Shard;
  bool Sharded = false;
  int Threads = 1;
  bool Quiet = false;
  QStringList MergeFiles;
};

// The whole command line, checked and read, before any work starts.
struct TReportConfig
{
  TReportMode Mode = TReportMode::Evaluation;
  TEncoderSetup Setup;
  TReportFormat Format = TReportFormat::Table;
  QString OutputPath;  // empty: standard output
  QString PlotPath;
  QString ScopePath;
  bool ScopeXY = false;
  QString ProtocolPath;  // empty: no protocol
  QSize PlotSize = QSize(700, 300);
  TSweep Sweep;
  TCaptureConfig Capture;
  TAcquireConfig Acquire;
  TStudyConfig Study;
  // --limits: a built-in set or one read from a file.
  std::optional<TLimitSet> Limits;
  // The correction's look-up table, and where its CSV goes (empty: not).
  TTableSettings Table;
  QString TableOutPath;
  // As given, for the protocol's command line.
  QStringList Arguments;
};

// What a command line asks for. Error carries a one-line message.
struct TParsedCommandLine
{
  enum TAction
  {
    Run,
    Help,
    Version,
    ListLimits,
    Error
  } Action = Run;
  TReportConfig Config;
  QString Message;
  QString HelpText;
};

// Arguments without the program name.
TParsedCommandLine ParseCommandLine(const QStringList &Arguments);

#endif
