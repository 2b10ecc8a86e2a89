#ifndef STUDYMERGE_H
#define STUDYMERGE_H

#include <QString>
#include <QStringList>

#include "studytext.h"

// Reads the JSON results of all shards of one study and puts their trials
// back in index order, as one run of the whole study would have them.
// Empty when they fit together, else a one-line message naming the file
// or the shard at fault.
QString MergeShards(const QStringList &Paths, TStudyResult &Result);

#endif
