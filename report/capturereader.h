#ifndef CAPTUREREADER_H
#define CAPTUREREADER_H

#include <QString>
#include <cstdint>
#include <vector>

class QIODevice;

// Which columns hold channels A and B, 1-based; 0 lets the data decide:
// 1,2 for two columns, 2,3 for three or more (time first).
struct TCaptureColumns
{
  int A = 0;
  int B = 0;
};

struct TCaptureReadOptions
{
  TCaptureColumns Columns;
  bool SkipBadRows = false;
};

// The two channels of an oscilloscope capture, in the capture's units.
struct TCapture
{
  std::vector<double> A, B;
  // The file line each sample came from, 1-based.
  std::vector<std::uint32_t> Line;
  long long HeaderLines = 0;
  long long BadRows = 0;
  TCaptureColumns Columns;

  std::size_t Size() const { return A.size(); }
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
