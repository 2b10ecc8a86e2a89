#ifndef REPRODUCECOMMAND_H
#define REPRODUCECOMMAND_H

#include <QString>

#include "encodersetup.h"

// The vantrel-report command line that simulates Setup as a single
// summary: pitch and resolution when asked for, then the six channel
// parameters A's first. Every option is NAME=VALUE, so a negative value
// is never taken for an option, and every number is the shortest text
// that reads back as the same double.
QString ReproduceCommand(const TEncoderSetup &Setup, bool WithPitch, bool WithResolution);

#endif
