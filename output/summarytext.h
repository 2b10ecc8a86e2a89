#ifndef SUMMARYTEXT_H
#define SUMMARYTEXT_H

#include <QByteArray>
#include <QStringList>

class QIODevice;

#include "evaluationsummary.h"
#include "signallimits.h"

// One line for each channel the simulation clips, naming the value it
// would reach.
QStringList SimulationWarnings(const TEvaluationSummary &Summary);
// CaptureScale > 0 (capture units per model unit) adds the correction's
// coefficients in the capture's units beside the model's.
QByteArray SummaryText(const TEvaluationSummary &Summary, double CaptureScale = 0.0);
// With a judgement, its "checks" too.
QByteArray SummaryJson(const TEvaluationSummary &Summary, const TJudgement *Judgement = nullptr);
// The look-up table as CSV: index, angle_rad, correction_rad and, when
// quantised, code; 17 significant digits.
void WriteTableCsv(QIODevice &Device, const TCorrectionTable &Table);

#endif
