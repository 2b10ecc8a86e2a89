#ifndef FRAMESAVE_H
#define FRAMESAVE_H

#include <QString>

#include "capture.h"

class QIODevice;

// Writes an acquired frame's samples as a CSV that --capture reads back to
// the same numbers: a comment line naming the source, one naming the
// instrument, the columns' names, then per sample its time (when known),
// A and B with 17 significant digits; FrameCapture numbers the samples'
// lines to match.
void WriteSavedFrame(QIODevice &Device, const TCapture &Capture, const QString &Source,
                     const QString &Instrument);

#endif
