#ifndef WINDOWCAPTURE_H
#define WINDOWCAPTURE_H

#include <QString>
#include <QStringList>
#include <cstddef>
#include <vector>

#include "encodersetup.h"
#include "vector2.h"

// At most this many samples of a capture are drawn per data set: enough
// to show the figure, few enough to keep a control change as fast as
// without a capture.
const std::size_t MaximumWindowSamples = 150;

// A capture read and fitted for the window, with the samples it draws
// already thinned and placed, so that a control change only hands them to
// the graphs.
struct TWindowCapture
{
  // The file name alone, for the title.
  QString FileName;
  // The fitted gains, offsets and phases (B's phase 0).
  TEncoderSetup Model;
  // One line per warning of the analysis.
  QStringList Warnings;
  // Each channel in the model's units against the corrected angle,
  // folded into the scope's four periods.
  std::vector<TVector2> ChannelA, ChannelB;
  // The (A, B) pairs in the model's units.
  std::vector<TVector2> Figure;
  // Corrected angle and measured error in the simulation's terms (true
  // less interpolated angle, zero where the corrected angle is), both in
  // rad; empty when the zero lies outside the figure and the error means
  // nothing.
  std::vector<TVector2> Error;
};

struct TCaptureOptions;

// Reads Path as vantrel-report --capture does with Options and fits it.
// False with the one-line Message of a file that cannot be read or
// measured.
bool ReadWindowCapture(const QString &Path, const TCaptureOptions &Options, TWindowCapture &Capture,
                       QString &Message);

#endif
