#ifndef WINDOWCOMMANDLINE_H
#define WINDOWCOMMANDLINE_H

#include <QString>
#include <QStringList>

// What the window's command line asks for, read before the toolkit
// starts, so that --help and a mistake need no display.
struct TWindowCommandLine
{
  enum TAction
  {
    Open,  // the window, with File if one is given
    Help,
    Version,
    Error
  } Action = Open;
  QString File;
  // The capture's options as TVantrel::OpenCapture takes them.
  QStringList CaptureOptions;
  // The help or version text, or the one-line message of an Error.
  QString Text;
};

// Arguments without the program name. The toolkit's own options
// (-platform, -style, ...) are let through for QApplication.
TWindowCommandLine ParseWindowCommandLine(const QStringList &Arguments);

#endif
