#ifndef SUMMARYTEXT_H
#define SUMMARYTEXT_H

#include <QByteArray>

#include "evaluationsummary.h"

QByteArray SummaryText(const TEvaluationSummary &Summary);
QByteArray SummaryJson(const TEvaluationSummary &Summary);

#endif
