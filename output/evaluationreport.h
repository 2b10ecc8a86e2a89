#ifndef EVALUATIONREPORT_H
#define EVALUATIONREPORT_H

#include <QString>
#include <QStringList>

#include "vector2.h"

// Lines of the evaluation's text table. Numbers always print with a full
// stop and no group separators, whatever the locale.

// The five header lines; the third and the fifth end in a line break, so
// an empty line follows them in the document.
QStringList EvaluationHeaderLines(double Pitch, double Resolution, int Count);

// One table row: the point number, position and interpolation error.
QString EvaluationRow(int Number, const TVector2 &Point);

#endif
