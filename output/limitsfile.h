#ifndef LIMITSFILE_H
#define LIMITSFILE_H

#include <QString>

#include "signallimits.h"

// Reads a limits file {"name": ..., "limits": [{"name", "quantity", "low",
// "high", "below_hz"}, ...]} into Set. Empty when it could, else one line
// naming Path and the entry at fault.
QString ReadLimitsFile(const QString &Path, TLimitSet &Set);

#endif
