#ifndef SUMMARYTEXT_H
#define SUMMARYTEXT_H

#include <QByteArray>
#include <QStringList>

#include "evaluationsummary.h"

// One line for each channel the simulation clips, naming the value it
// would reach.
QStringList SimulationWarnings(const TEvaluationSummary &Summary);
QByteArray SummaryText(const TEvaluationSummary &Summary);
QByteArray SummaryJson(const TEvaluationSummary &Summary);

#endif
