#ifndef CAPTUREREADER_H
#define CAPTUREREADER_H

#include <iosfwd>
#include <string>

#include "capture.h"

struct TCaptureReadOptions
{
  TCaptureColumns Columns;
  bool SkipBadRows = false;
  // The comma separates decimals, never columns. Without it a decimal
  // comma is read wherever the columns are separated by something else.
  bool DecimalComma = false;
  // The column of the samples' times, 1-based or by its header name; 0
  // and no name: the first column, when it is no channel and rises
  // through the file.
  int TimeColumn = 0;
  std::string TimeName{};
};

// Reads a text capture from Stream; Name (a path, or "standard input")
// starts every message. False with a one-line Message, in UTF-8, on a bad
// row, a missing column or no data at all.
bool ReadCapture(std::istream &Stream, const std::string &Name, const TCaptureReadOptions &Options,
                 TCapture &Capture, std::string &Message);

// Opens Path ("-" for standard input) and reads it as above.
bool ReadCaptureFile(const std::string &Path, const TCaptureReadOptions &Options, TCapture &Capture,
                     std::string &Message);

#endif
