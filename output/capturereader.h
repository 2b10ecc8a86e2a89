#ifndef CAPTUREREADER_H
#define CAPTUREREADER_H

#include <QString>

#include "capture.h"

class QIODevice;

struct TCaptureReadOptions
{
  TCaptureColumns Columns;
  bool SkipBadRows = false;
  // The comma separates decimals, never columns. Without it a decimal
  // comma is read wherever the columns are separated by something else.
  bool DecimalComma = false;
};

// Reads a text capture from Device; Name (a path, or "standard input")
// starts every message. False with a one-line Message on a bad row, a
// missing column or no data at all.
bool ReadCapture(QIODevice &Device, const QString &Name, const TCaptureReadOptions &Options,
                 TCapture &Capture, QString &Message);

// Opens Path ("-" for standard input) and reads it as above.
bool ReadCaptureFile(const QString &Path, const TCaptureReadOptions &Options, TCapture &Capture,
                     QString &Message);

#endif
