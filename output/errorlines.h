#ifndef ERRORLINES_H
#define ERRORLINES_H

#include <QString>
#include <QStringList>
#include <functional>

#include "interpolationerror.h"

// The blocks every summary gives an interpolation error, simulated,
// corrected or measured.

// The column titles of an angle error in every unit ...
QStringList ErrorUnitColumns();
// ... and of a harmonic.
QStringList HarmonicColumns();

// Peak-to-peak, largest magnitude, mean and RMS of Error, a line each;
// Units writes an angle in radians as the columns of every unit.
QString ErrorLines(const TInterpolationError &Error, const std::function<QString(double)> &Units,
                   int LabelWidth);

#endif
