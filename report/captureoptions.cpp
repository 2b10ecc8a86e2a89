#include "captureoptions.h"

#include <QCommandLineParser>
#include <QStringList>
#include <cmath>

#include "optionnumber.h"

namespace {

const int MaximumColumn = 1000;

QString ParseColumns(const QString &Text, TCaptureColumns &Columns)
{
  const QStringList parts = Text.split(',');
  if (parts.size() != 2 || !ParseOptionNumber(parts[0], Columns.A) ||
      !ParseOptionNumber(parts[1], Columns.B) || Columns.A < 1 || Columns.B < 1 ||
      Columns.A > MaximumColumn || Columns.B > MaximumColumn || Columns.A == Columns.B)
    return QString("--columns needs two different column numbers A,B from 1 to %1, not '%2'")
        .arg(MaximumColumn)
        .arg(Text);
  return QString();
}

}  // namespace

void AddCaptureOptions(QCommandLineParser &Parser)
{
  Parser.addOptions({
      {"capture",
       "Fit the channel pair of this text capture (- for standard input) and report its "
       "ellipse, model parameters and measured interpolation error: --format summary "
       "(default), json or csv (one row per sample).",
       "file"},
      {"columns",
       "The capture's columns of channels A and B, 1-based (default 1,2 for two columns, 2,3 "
       "for three or more).",
       "A,B"},
      {"skip-bad-rows",
       "Skip and count capture rows after the header that are not numbers, instead of "
       "refusing the capture."},
      {"amplitude",
       "Capture units (e.g. V) that make the simulation's full scale 1 (default: the fitted "
       "signals' largest |offset| + amplitude).",
       "value"},
  });
}

QString InterpretCaptureOptions(const QCommandLineParser &Parser, TCaptureOptions &Options)
{
  Options.Active = Parser.isSet("capture");
  if (!Options.Active) {
    for (const char *option : {"columns", "skip-bad-rows", "amplitude"})
      if (Parser.isSet(option))
        return QString("--%1 needs --capture").arg(option);
    return QString();
  }
  Options.Path = Parser.value("capture");
  if (Options.Path.isEmpty())
    return "--capture needs a file name, or - for standard input";
  if (Parser.isSet("sweep"))
    return "--capture and --sweep cannot be combined";
  if (Parser.isSet("xy"))
    return "--capture draws its scope as a Lissajous figure; leave out --xy";
  if (Parser.value("format") == "table")
    return "--capture writes summary, json or csv, not a table";
  if (Parser.isSet("columns")) {
    QString message = ParseColumns(Parser.value("columns"), Options.Read.Columns);
    if (!message.isEmpty())
      return message;
  }
  Options.Read.SkipBadRows = Parser.isSet("skip-bad-rows");
  if (Parser.isSet("amplitude")) {
    const QString text = Parser.value("amplitude");
    if (!ParseOptionNumber(text, Options.Amplitude) || !std::isfinite(Options.Amplitude) ||
        !(Options.Amplitude > 0.0))
      return QString("--amplitude needs a positive number, not '%1'").arg(text);
  }
  Options.PitchGiven = Parser.isSet("pitch");
  Options.ResolutionGiven = Parser.isSet("resolution");
  return QString();
}
