#ifndef CAPTUREOPTIONS_H
#define CAPTUREOPTIONS_H

#include <QString>
#include <QStringList>

#include "capturereader.h"

class QCommandLineParser;

// How a capture is read, and the level its channels swing around: what
// both programs take on their command lines for a capture.
struct TCaptureOptions
{
  TCaptureReadOptions Read;
  // The interpolator's reference level of each channel, subtracted from
  // its samples before anything else.
  double Zero[2] = {0.0, 0.0};
};

bool operator==(const TCaptureOptions &X, const TCaptureOptions &Y);

// One of the options as --help shows it.
struct TCaptureOptionText
{
  const char *Name;
  const char *ValueName;  // empty: a switch
  const char *Help;
};

// The options, in the order --help lists them.
extern const TCaptureOptionText CaptureOptionTexts[5];

const int MaximumColumn = 1000;

void AddCaptureOptions(QCommandLineParser &Parser);
// Reads what Parser found of the options. Empty when all is fine, and
// Options then holds it, defaults where an option is not given; else the
// one-line message, and Options is left alone.
QString ReadCaptureOptions(const QCommandLineParser &Parser, TCaptureOptions &Options);
// The same from arguments such as {"--zero", "2.5", "--skip-bad-rows"};
// anything but these options is refused.
QString ParseCaptureOptions(const QStringList &Arguments, TCaptureOptions &Options);
// The arguments ParseCaptureOptions reads back as Options: only what
// differs from the defaults.
QStringList CaptureOptionArguments(const TCaptureOptions &Options);

#endif
