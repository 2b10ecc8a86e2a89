#ifndef OPTIONTABLE_H
#define OPTIONTABLE_H

#include <QString>
#include <QStringList>
#include <vector>

#include "options.h"
#include "setupparameters.h"

// The modes an option goes with, as bits.
enum TModeSet : unsigned
{
  EvaluationMode = 1u << static_cast<int>(TReportMode::Evaluation),
  SweepMode = 1u << static_cast<int>(TReportMode::Sweep),
  CaptureMode = 1u << static_cast<int>(TReportMode::Capture),
  StudyMode = 1u << static_cast<int>(TReportMode::Study),
  MergeMode = 1u << static_cast<int>(TReportMode::Merge),
  AcquireMode = 1u << static_cast<int>(TReportMode::Acquire),
  AllModes = EvaluationMode | SweepMode | CaptureMode | StudyMode | MergeMode | AcquireMode,
  // A capture read from a file or acquired from an instrument.
  FittedModes = CaptureMode | AcquireMode
};

inline unsigned ModeBit(TReportMode Mode)
{
  return 1u << static_cast<int>(Mode);
}

// One option of the program: everything --help says about it and the
// modes it goes with.
struct TOptionDefinition
{
  QString Name;
  QString ValueName;  // empty: a switch
  QString Help;
  bool Repeats;
  unsigned Modes;
};

// Every option but --help and --version, in the order --help lists them.
const std::vector<TOptionDefinition> &OptionDefinitions();

// The names --sweep takes, in the table's order.
QStringList SweptNames();
// The names --tolerance takes: the quantities both channels share, then
// each parameter.
QStringList ToleranceNames();

// The limits of the options' values.
const int MaximumSweepSteps = 100000;
const int MinimumPlotSide = 16;
const int MaximumPlotSide = 10000;
const int MaximumThreads = 256;
const long MaximumFrames = 1000000;
// Seeds stay below 2^53, so JSON's numbers carry them exactly.
const unsigned long long MaximumSeed = 9007199254740991ULL;

#endif
