#include "reportoptions.h"

#include <QCommandLineParser>
#include <cmath>
#include <functional>
#include <vector>

#include "optionnumber.h"
#include "plotfile.h"

namespace {

const int MaximumSweepSteps = 100000;
const int MinimumPlotSide = 16;
const int MaximumPlotSide = 10000;

// A channel or scale option: its value lands in one member of the setup.
struct TValueOption
{
  const char *Name;
  const char *Description;
  double Minimum;  // NaN: any positive value
  double Maximum;
  std::function<double &(TEncoderSetup &)> Member;
};

const std::vector<TValueOption> &ValueOptions()
{
  static const std::vector<TValueOption> options = {
      {"pitch", "Scale pitch in mm (default 0.040).", NAN, NAN,
       [](TEncoderSetup &s) -> double & { return s.Pitch; }},
      {"resolution", "Interpolated resolution in mm (default 0.0050).", NAN, NAN,
       [](TEncoderSetup &s) -> double & { return s.Resolution; }},
      {"gain-a", "Gain of channel A (SIN), 0.1 to 2.0 (default 1.0).", GainRange.Minimum,
       GainRange.Maximum, [](TEncoderSetup &s) -> double & { return s.Gain[0]; }},
      {"gain-b", "Gain of channel B (COS), 0.1 to 2.0 (default 1.0).", GainRange.Minimum,
       GainRange.Maximum, [](TEncoderSetup &s) -> double & { return s.Gain[1]; }},
      {"offset-a", "Offset of channel A, -1 to +1 (default 0.0).", OffsetRange.Minimum,
       OffsetRange.Maximum, [](TEncoderSetup &s) -> double & { return s.Offset[0]; }},
      {"offset-b", "Offset of channel B, -1 to +1 (default 0.0).", OffsetRange.Minimum,
       OffsetRange.Maximum, [](TEncoderSetup &s) -> double & { return s.Offset[1]; }},
      {"phase-a", "Phase of channel A in radians, within +-0.78539816339745 (default 0.0).",
       PhaseRange.Minimum, PhaseRange.Maximum,
       [](TEncoderSetup &s) -> double & { return s.Phase[0]; }},
      {"phase-b", "Phase of channel B in radians, within +-0.78539816339745 (default 0.0).",
       PhaseRange.Minimum, PhaseRange.Maximum,
       [](TEncoderSetup &s) -> double & { return s.Phase[1]; }},
  };
  return options;
}

const TValueOption *FindValueOption(const QString &Name)
{
  for (const TValueOption &option : ValueOptions())
    if (Name == option.Name)
      return &option;
  return nullptr;
}

QString Number(double Value)
{
  return QString::number(Value, 'g', 15);
}

// Empty when Value suits the option, else the message.
QString CheckValue(const TValueOption &Option, const QString &Text, double &Value)
{
  const QString name = QString("--") + Option.Name;
  if (!ParseOptionNumber(Text, Value))
    return QString("%1 needs a number, not '%2'").arg(name, Text);
  if (!std::isfinite(Value))
    return QString("%1 needs a finite number, not '%2'").arg(name, Text);
  if (std::isnan(Option.Minimum)) {
    if (!(Value > 0.0))
      return QString("%1 %2 is not positive: it must be greater than 0").arg(name, Text);
  } else if (Value < Option.Minimum || Value > Option.Maximum) {
    return QString("%1 %2 is outside its range %3 ... %4")
        .arg(name, Text, Number(Option.Minimum), Number(Option.Maximum));
  }
  return QString();
}

QString ParseSweep(const QString &Text, TSweep &Sweep)
{
  QString usage = QString("--sweep needs NAME=FROM:TO:STEPS, not '%1'").arg(Text);
  const int equals = Text.indexOf('=');
  if (equals < 0)
    return usage;
  const QString name = Text.left(equals);
  const TValueOption *option = FindValueOption(name);
  if (!option || std::isnan(option->Minimum) ||
      !FindChannelParameter(name.toStdString(), Sweep.Parameter))
    return QString(
               "--sweep: '%1' is not one of gain-a, gain-b, offset-a, offset-b, phase-a, "
               "phase-b")
        .arg(name);
  const QStringList parts = Text.mid(equals + 1).split(':');
  if (parts.size() != 3)
    return usage;
  for (int i = 0; i < 2; ++i) {
    double &end = i == 0 ? Sweep.From : Sweep.To;
    const QString message = CheckValue(*option, parts[i], end);
    if (!message.isEmpty())
      return "--sweep: " + message;
  }
  if (!ParseOptionNumber(parts[2], Sweep.Steps) || Sweep.Steps < 2 ||
      Sweep.Steps > MaximumSweepSteps)
    return QString("--sweep: STEPS '%1' must be a whole number from 2 to %2")
        .arg(parts[2])
        .arg(MaximumSweepSteps);
  return QString();
}

QString ParseSize(const QString &Text, QSize &Size)
{
  const QStringList parts = Text.split('x');
  int width = 0, height = 0;
  if (parts.size() != 2 || !ParseOptionNumber(parts[0], width) ||
      !ParseOptionNumber(parts[1], height) || width < MinimumPlotSide || width > MaximumPlotSide ||
      height < MinimumPlotSide || height > MaximumPlotSide)
    return QString("--size needs WxH in pixels, each from %1 to %2, not '%3'")
        .arg(MinimumPlotSide)
        .arg(MaximumPlotSide)
        .arg(Text);
  Size = QSize(width, height);
  return QString();
}

QString ParseFormat(const QString &Text, TReportFormat &Format)
{
  static const QStringList names = {"table", "csv", "summary", "json"};
  const int index = names.indexOf(Text);
  if (index < 0)
    return QString("--format must be table, csv, summary or json, not '%1'").arg(Text);
  Format = static_cast<TReportFormat>(index);
  return QString();
}

QString PlotExtensionError(const char *Option, const QString &Path)
{
  TPlotFormat format;
  if (PlotFormatForPath(Path, format))
    return QString();
  return QString("--%1 %2: the file name must end in .png, .svg or .pdf").arg(Option, Path);
}

QString CheckCount(const TEncoderSetup &Setup)
{
  // Checked as a double before InterpolationCount truncates it to an int.
  const double count = Setup.Pitch / Setup.Resolution + 0.5;
  if (count >= MinimumCount && count < MaximumCount + 1)
    return QString();
  return QString("the count --pitch / --resolution (%1) must round to %2 ... %3")
      .arg(Number(Setup.Pitch / Setup.Resolution))
      .arg(MinimumCount)
      .arg(MaximumCount);
}

QString Interpret(const QCommandLineParser &Parser, TReportOptions &Options)
{
  // --merge takes its files as arguments.
  if (!Parser.positionalArguments().isEmpty() && !Parser.isSet("merge"))
    return QString("unexpected argument '%1'").arg(Parser.positionalArguments().first());
  for (const TValueOption &option : ValueOptions())
    if (Parser.isSet(option.Name)) {
      QString message = CheckValue(option, Parser.value(option.Name), option.Member(Options.Setup));
      if (!message.isEmpty())
        return message;
    }
  QString message = CheckCount(Options.Setup);
  if (message.isEmpty() && Parser.isSet("format"))
    message = ParseFormat(Parser.value("format"), Options.Format);
  if (message.isEmpty() && Parser.isSet("size"))
    message = ParseSize(Parser.value("size"), Options.PlotSize);
  Options.OutputPath = Parser.value("output");
  Options.PlotPath = Parser.value("plot");
  Options.ScopePath = Parser.value("scope");
  Options.ScopeXY = Parser.isSet("xy");
  if (message.isEmpty() && Parser.isSet("plot"))
    message = PlotExtensionError("plot", Options.PlotPath);
  if (message.isEmpty() && Parser.isSet("scope"))
    message = PlotExtensionError("scope", Options.ScopePath);
  for (const char *option : {"output", "plot", "scope"})
    if (message.isEmpty() && Parser.isSet(option) && Parser.value(option).isEmpty())
      message = QString("--%1 needs a file name").arg(option);
  Options.HasSweep = Parser.isSet("sweep");
  if (message.isEmpty() && Options.HasSweep) {
    if (Parser.values("sweep").size() > 1)
      message = "--sweep may be given once";
    else if (Parser.isSet("format"))
      message = "--sweep writes its own CSV; leave out --format";
    else
      message = ParseSweep(Parser.value("sweep"), Options.Sweep);
  }
  if (message.isEmpty() && Parser.isSet("capture") &&
      (Parser.isSet("monte-carlo") || Parser.isSet("merge")))
    message = "--capture does not go with --monte-carlo or --merge";
  if (message.isEmpty())
    message = InterpretCaptureOptions(Parser, Options.Capture);
  if (message.isEmpty())
    message = InterpretMonteCarlo(Parser, Options);
  return message;
}

}  // namespace

TParsedCommandLine ParseCommandLine(const QStringList &Arguments)
{
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Evaluates a simulated sine/cosine encoder and its arctangent interpolator: the "
      "window's table, CSV, a summary of the interpolation error and its harmonics, JSON, "
      "plots and parameter sweeps.");
  const QCommandLineOption help({"h", "help"}, "Show this help and exit.");
  const QCommandLineOption version({"v", "version"}, "Show the version and exit.");
  parser.addOption(help);
  parser.addOption(version);
  for (const TValueOption &option : ValueOptions())
    parser.addOption(QCommandLineOption(option.Name, option.Description, "value"));
  parser.addOptions({
      {"format", "Output: table (default), csv, summary or json.", "format"},
      {"output", "Write the output to this file instead of standard output.", "file"},
      {"plot", "Write the error graph to this .png, .svg or .pdf file.", "file"},
      {"scope", "Write the oscilloscope view to this .png, .svg or .pdf file.", "file"},
      {"xy", "Draw the oscilloscope view in XY mode (B against A)."},
      {"size", "Plot size in pixels (default 700x300).", "WxH"},
      {"sweep",
       "Step one channel parameter (gain-a, gain-b, offset-a, offset-b, phase-a, phase-b) "
       "through STEPS evenly spaced values from FROM to TO inclusive and write one CSV row "
       "per value.",
       "NAME=FROM:TO:STEPS"},
  });
  AddCaptureOptions(parser);
  AddMonteCarloOptions(parser);

  TParsedCommandLine result;
  // The usage line names the program as it is installed, not the path it
  // was started by; the exit statuses close the text, for scripts.
  result.HelpText = parser.helpText();
  result.HelpText.replace(0, result.HelpText.indexOf('\n'), "Usage: vantrel-report [options]");
  result.HelpText +=
      "\nExit status:\n"
      "  0  the counter returned to zero\n"
      "  1  \"Scale count not zero on return\" (also on standard error); the output\n"
      "     is still complete; for --monte-carlo or --merge: some trial lost\n"
      "     counts or exceeded --limit\n"
      "  2  a usage or input error, named in one line on standard error; nothing\n"
      "     is written to standard output or to any output file\n"
      "  130 a --monte-carlo study stopped by Ctrl-C; the summary covers the\n"
      "     trials completed and is marked partial\n";
  // The program name is not ours to parse; a placeholder stands in.
  if (!parser.parse(QStringList("vantrel-report") + Arguments)) {
    result.Action = TParsedCommandLine::Error;
    result.Message = parser.errorText();
  } else if (parser.isSet(help)) {
    result.Action = TParsedCommandLine::Help;
  } else if (parser.isSet(version)) {
    result.Action = TParsedCommandLine::Version;
  } else {
    result.Message = Interpret(parser, result.Options);
    if (!result.Message.isEmpty())
      result.Action = TParsedCommandLine::Error;
  }
  return result;
}
