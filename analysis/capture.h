#ifndef CAPTURE_H
#define CAPTURE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "samplespan.h"

// Which columns of a capture hold channels A and B, 1-based, or by the
// name the header gives them (A or B 0 with a name); both 0 and no names
// let the data decide: 1,2 for two columns, 2,3 for three (time first).
struct TCaptureColumns
{
  int A = 0;
  int B = 0;
  std::string NameA, NameB;
};

// What reading a capture found besides its samples.
struct TCaptureReading
{
  // The column the times came from; 0 when the capture has none.
  int TimeColumn = 0;
  long long HeaderLines = 0;
  long long BadRows = 0;
  // The file's last line had no line end: cut off, and left out.
  bool LastLineCut = false;
  // The reference level subtracted from each channel: the interpolator's
  // electrical zero.
  double Zero[2] = {0.0, 0.0};
  TCaptureColumns Columns;
};

// The two channels of an oscilloscope capture, in the capture's units,
// and what reading it skipped.
struct TCapture : TCaptureReading
{
  std::vector<double> A, B;
  // The file line each sample came from, 1-based.
  std::vector<std::uint32_t> Line;
  // The time of each sample in seconds; empty when the capture has none.
  std::vector<double> Time;
  // Columns of the first data row, and the names the header line just
  // above it gives them, when it has one for each.
  int ColumnCount = 0;
  std::vector<std::string> ColumnNames;

  std::size_t Size() const { return A.size(); }
};

// A capture's samples and what reading them found, held elsewhere: in a
// TCapture or in memory another program owns. The analysis and the texts
// read a capture through it, so neither copies the samples.
struct TCaptureView : TCaptureReading
{
  TSampleSpan<double> A, B;
  // Empty when the samples came from no file: sample i is then line i + 1.
  TSampleSpan<std::uint32_t> Line;
  TSampleSpan<double> Time;

  TCaptureView() = default;
  // Implicit: a capture read is one to analyse.
  TCaptureView(const TCapture &Capture)
      : TCaptureReading(Capture), A(Capture.A), B(Capture.B), Line(Capture.Line), Time(Capture.Time)
  {}

  std::size_t Size() const { return A.size(); }
};

// Moves both channels to the interpolator's zero, as it subtracts its
// reference before the arctangent.
inline void SubtractReference(TCapture &Capture, double ZeroA, double ZeroB)
{
  for (double &a : Capture.A)
    a -= ZeroA;
  for (double &b : Capture.B)
    b -= ZeroB;
  Capture.Zero[0] += ZeroA;
  Capture.Zero[1] += ZeroB;
}

#endif
