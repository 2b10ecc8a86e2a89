#ifndef STUDYRUN_H
#define STUDYRUN_H

#include <atomic>
#include <functional>
#include <vector>

#include "figurelist.h"
#include "studytrial.h"

// The trials one run takes on: those whose index is Index modulo Count.
struct TShard
{
  long Index = 0;
  long Count = 1;

  long Size(long Trials) const { return Index < Trials ? (Trials - Index + Count - 1) / Count : 0; }
  long TrialIndex(long Local) const { return Index + Local * Count; }
};

struct TStudyRun
{
  // The shard's trials in index order; when Partial, only the first ones,
  // up to where the run was stopped. It grows as the trials finish.
  TFigureList Figures;
  bool Partial = false;
};

// Called on the calling thread a few times a second with the trials done
// so far, those that Figures holds.
using TProgress = std::function<void(long Done, long Total)>;

// Runs the shard's trials on Threads threads. Stop, when set, ends the
// run early: every thread leaves at its next trial.
TStudyRun RunStudy(const TStudySetup &Study, const TShard &Shard, int Threads,
                   const std::atomic<bool> &Stop, const TProgress &Progress);

#endif
