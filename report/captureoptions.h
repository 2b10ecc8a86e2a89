#ifndef CAPTUREOPTIONS_H
#define CAPTUREOPTIONS_H

#include <QString>

#include "capturereader.h"

class QCommandLineParser;

// What --capture and its companions ask for.
struct TCaptureOptions
{
  bool Active = false;
  QString Path;  // "-": standard input
  TCaptureReadOptions Read;
  double Amplitude = 0.0;  // 0: the fitted signals' peak
  bool PitchGiven = false;
  bool ResolutionGiven = false;
};

void AddCaptureOptions(QCommandLineParser &Parser);
// Empty when the capture options suit each other and the rest of the
// command line, else the message.
QString InterpretCaptureOptions(const QCommandLineParser &Parser, TCaptureOptions &Options);

#endif
