#ifndef WINDOWCAPTURE_H
#define WINDOWCAPTURE_H

#include <QString>
#include <QStringList>
#include <cstddef>
#include <vector>

#include "captureanalysis.h"
#include "captureoptions.h"
#include "encodersetup.h"
#include "textcolumns.h"
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
  // The file name alone, for the title and the legends.
  QString FileName;
  // The file's path, or the acquisition's source.
  QString Source;
  // The fitted gains, offsets and phases (B's phase 0).
  TEncoderSetup Model;
  // One line per warning of the analysis, as the window says it.
  QStringList Warnings;
  // What the notice line says of it: rows and error.
  QString Headline;
  // The capture's figures as vantrel-report's summary prints them.
  QString Summary;
  // Each channel in the model's units against the corrected angle,
  // folded into the scope's four periods.
  std::vector<TVector2> ChannelA, ChannelB;
  // The (A, B) pairs in the model's units, and the fitted ellipse.
  std::vector<TVector2> Figure, Ellipse;
  // Corrected and raw angle of each drawn sample that has an error.
  std::vector<TVector2> Angles;
  // The fit, which counts the error at the resolution shown.
  TCaptureAnalysis Analysis;
};

// Why a capture was not opened, and which options may open it.
struct TCaptureRefusal
{
  // One line, as vantrel-report says it.
  QString Reason;
  // True when other options may read it: Hint says which, Suggested
  // holds them, pre-filled with what the file suggests.
  bool Remedy = false;
  QString Hint;
  TCaptureOptions Suggested;
  // The data's columns and their header names, where known.
  int ColumnCount = 0;
  QStringList ColumnNames;
};

// What every refusal adds.
const char *const NotOpenedText = "The file was not opened.";

// Reads Path as vantrel-report --capture does with Options, and fits it.
// False, with the Refusal, for a file that cannot be read or measured, or
// whose measured error would mean nothing.
bool ReadWindowCapture(const QString &Path, const TCaptureOptions &Options, TWindowCapture &Capture,
                       TCaptureRefusal &Refusal);
// The rest of a capture fitted into Capture.Analysis, under Name: its
// model, warnings, headline, figures and drawn samples. Capture.FileName
// must be set.
void ShowWindowCapture(const QString &Name, const TCapture &Source, TWindowCapture &Capture);

#endif
