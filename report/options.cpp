#include "options.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cassert>
#include <thread>

#include "fixedtexts.h"
#include "limitsfile.h"
#include "optionmessages.h"
#include "optiontable.h"
#include "optionvalues.h"
#include "plotfile.h"

namespace {

// The option that selects each mode, in the order one mode outranks the
// next when several are given (the outranked one is then refused).
const struct
{
  TReportMode Mode;
  const char *Option;
  const char *Needs;  // what an option of this mode alone asks for
} Selectors[] = {
    {TReportMode::Merge, "merge", "--merge"},
    {TReportMode::Study, "monte-carlo", "--monte-carlo N"},
    {TReportMode::Acquire, "acquire", "--acquire SOURCE"},
    {TReportMode::Capture, "capture", "--capture"},
    {TReportMode::Sweep, "sweep", "--sweep"},
};

// The part of the setup an option sets; none for other options.
bool SetsPart(const QString &Option, TParameterPart Part)
{
  const TSetupParameter *parameter = FindSetupParameter(Option.toStdString());
  return parameter && parameter->Part == Part;
}

// Why an option does not go with a mode, where its name alone does not
// make that plain.
QString ConflictReason(const QString &Option, TReportMode Mode)
{
  const bool channel = SetsPart(Option, TParameterPart::Channel);
  const bool fitted = Mode == TReportMode::Capture || Mode == TReportMode::Acquire;
  if (fitted && channel)
    return "the capture's fit sets the channels";
  if (fitted && Option == "xy")
    return "the capture draws its scope as a Lissajous figure";
  if (Mode == TReportMode::Merge && (channel || SetsPart(Option, TParameterPart::Scale)))
    return "--merge takes the setup from its files";
  if (Mode == TReportMode::Merge && Option == "monte-carlo")
    return "--merge takes the study from its files";
  if (Mode == TReportMode::Sweep && Option == "format")
    return "--sweep writes its own CSV";
  return QString();
}

const TOptionDefinition &Definition(const QString &Name)
{
  const auto &options = OptionDefinitions();
  const auto found = std::find_if(options.begin(), options.end(),
                                  [&](const TOptionDefinition &o) { return o.Name == Name; });
  assert(found != options.end());
  return *found;
}

TReportMode SelectMode(const QCommandLineParser &Parser)
{
  for (const auto &selector : Selectors)
    if (Parser.isSet(selector.Option))
      return selector.Mode;
  return TReportMode::Evaluation;
}

// Empty when every option given goes with the mode and none but the
// repeatable ones is given twice.
QString CheckOptionsFitMode(const QCommandLineParser &Parser, TReportMode Mode)
{
  const QStringList given = Parser.optionNames();
  for (const QString &name : given)
    if (given.count(name) > 1 && !Definition(name).Repeats)
      return GivenTwiceMessage(name);
  for (const QString &name : given) {
    const TOptionDefinition &option = Definition(name);
    if (option.Modes & ModeBit(Mode))
      continue;
    // An option of selected modes only, none of them given, asks for
    // their selectors.
    const bool selector = std::any_of(std::begin(Selectors), std::end(Selectors),
                                      [&](const auto &s) { return name == s.Option; });
    if (!selector && !(option.Modes & EvaluationMode)) {
      QStringList needs;
      bool needs_given = false;
      for (const auto &s : Selectors)
        if (option.Modes & ModeBit(s.Mode)) {
          needs.prepend(s.Needs);
          needs_given = needs_given || Parser.isSet(s.Option);
        }
      if (!needs_given)
        return QString("--%1 needs %2").arg(name, needs.join(" or "));
    }
    const auto *current = std::find_if(std::begin(Selectors), std::end(Selectors),
                                       [&](const auto &s) { return s.Mode == Mode; });
    assert(current != std::end(Selectors));
    QString message = QString("--%1 does not go with --%2").arg(name, current->Option);
    const QString reason = ConflictReason(name, Mode);
    if (!reason.isEmpty())
      message += ": " + reason;
    return message;
  }
  return QString();
}

// The path as the file system sees it, so x.png and ./x.png are one file.
QString FileIdentity(const QString &Path)
{
  const QFileInfo info(Path);
  return info.exists() ? info.canonicalFilePath() : QDir::cleanPath(info.absoluteFilePath());
}

QString ReadOutputs(const QCommandLineParser &Parser, TReportConfig &Config)
{
  Config.OutputPath = Parser.value("output");
  Config.PlotPath = Parser.value("plot");
  Config.ScopePath = Parser.value("scope");
  Config.ScopeXY = Parser.isSet("xy");
  Config.TableOutPath = Parser.value("table-out");
  Config.ProtocolPath = Parser.value("protocol");
  const QStringList names = {"output", "plot", "scope", "table-out", "protocol"};
  for (const QString &name : names)
    if (Parser.isSet(name) && Parser.value(name).isEmpty())
      return QString("--%1 needs a file name").arg(name);
  for (const char *name : {"plot", "scope"})
    if (Parser.isSet(name)) {
      QString message = CheckPlotExtension(name, Parser.value(name));
      if (!message.isEmpty())
        return message;
    }
  if (Config.ScopeXY && !Parser.isSet("scope"))
    return "--xy needs --scope";
  TPlotFormat format = TPlotFormat::Png;
  if (Parser.isSet("protocol") &&
      !(PlotFormatForPath(Config.ProtocolPath, format) && format == TPlotFormat::Pdf))
    return QString("--protocol %1: the file name must end in .pdf").arg(Config.ProtocolPath);
  for (int i = 0; i < names.size(); ++i)
    for (int j = i + 1; j < names.size(); ++j)
      if (Parser.isSet(names[i]) && Parser.isSet(names[j]) &&
          FileIdentity(Parser.value(names[i])) == FileIdentity(Parser.value(names[j])))
        return QString("--%1 and --%2 both name %3")
            .arg(names[i], names[j], Parser.value(names[j]));
  if (Parser.isSet("size")) {
    const QString message = ReadSize(Parser.value("size"), Config.PlotSize);
    if (!message.isEmpty())
      return message;
  }
  return ReadTableSettings(Parser, Config.Table);
}

// Each order once, the third either here or through its own options.
QString ReadHarmonics(const QCommandLineParser &Parser, TSignalOptions &Signal)
{
  bool given[MaximumHarmonic + 1] = {};
  for (const QString &text : Parser.values("harmonic")) {
    int order = 0;
    double k = 0.0, phase = 0.0;
    const QString message = ReadHarmonic(text, order, k, phase);
    if (!message.isEmpty())
      return message;
    if (given[order])
      return QString("--harmonic gives order %1 twice").arg(order);
    if (order == 3 && (Parser.isSet("harmonic3") || Parser.isSet("harmonic3-phase")))
      return "--harmonic 3,... does not go with --harmonic3 or --harmonic3-phase";
    given[order] = true;
    Signal.Harmonic[order] = k;
    Signal.HarmonicPhase[order] = phase;
  }
  return QString();
}

QString ReadSetup(const QCommandLineParser &Parser, TReportConfig &Config)
{
  for (const TSetupParameter &parameter : SetupParameters())
    if (parameter.Part != TParameterPart::Harmonic && Parser.isSet(parameter.Name)) {
      QString message =
          ReadSetupValue(parameter, Parser.value(parameter.Name), parameter.In(Config.Setup));
      if (!message.isEmpty())
        return message;
    }
  QString message = ReadHarmonics(Parser, Config.Setup.Signal);
  if (message.isEmpty() && Parser.isSet("adc-bits"))
    message = ReadAdcBits(Parser.value("adc-bits"), Config.Setup.Signal.AdcBits);
  // The study reads --seed for its trials; its noise follows each trial's.
  if (message.isEmpty() && Parser.isSet("seed") && Config.Mode != TReportMode::Study)
    message = ReadSeed(Parser.value("seed"), Config.Setup.Signal.Seed);
  return message.isEmpty() ? CheckCount(Config.Setup) : message;
}

// How a capture, read from a file or acquired, is read and fitted.
QString ReadFitOptions(const QCommandLineParser &Parser, TCaptureConfig &Capture)
{
  QString message = ReadCaptureOptions(Parser, Capture.Options);
  if (!message.isEmpty())
    return message;
  Capture.PitchGiven = Parser.isSet("pitch");
  Capture.ResolutionGiven = Parser.isSet("resolution");
  if (Parser.isSet("amplitude"))
    return ReadAmplitude(Parser.value("amplitude"), Capture.Amplitude);
  return QString();
}

QString ReadCapture(const QCommandLineParser &Parser, TCaptureConfig &Capture)
{
  Capture.Path = Parser.value("capture");
  if (Capture.Path.isEmpty())
    return "--capture needs a file name, or - for standard input";
  return ReadFitOptions(Parser, Capture);
}

QString ReadAcquire(const QCommandLineParser &Parser, TReportConfig &Config)
{
  TAcquireConfig &acquire = Config.Acquire;
  acquire.Source = Parser.value("acquire");
  if (acquire.Source.isEmpty())
    return "--acquire needs a source: scpi://HOST[:PORT], alsa:DEVICE or file:PATH";
  acquire.SavePath = Parser.value("save");
  if (Parser.isSet("save") && acquire.SavePath.isEmpty())
    return "--save needs a file name";
  if (Parser.isSet("frames")) {
    const QString message = ReadFrames(Parser.value("frames"), acquire.Frames);
    if (!message.isEmpty())
      return message;
  }
  return ReadFitOptions(Parser, Config.Capture);
}

QString ReadStudy(const QCommandLineParser &Parser, const TEncoderSetup &Setup,
                  TStudyConfig &Config)
{
  TStudySetup &study = Config.Study;
  study.Nominal = Setup;
  QString message = ReadTrials(Parser.value("monte-carlo"), study.Trials);
  for (const QString &tolerance : Parser.values("tolerance"))
    if (message.isEmpty())
      message = ReadTolerance(tolerance, study.Tolerances);
  if (message.isEmpty() && Parser.isSet("distribution"))
    message = ReadDistribution(Parser.value("distribution"), study.Distribution);
  if (message.isEmpty() && Parser.isSet("seed"))
    message = ReadSeed(Parser.value("seed"), study.Seed);
  if (message.isEmpty() && Parser.isSet("limit"))
    message = ReadLimit(Parser.value("limit"), Setup.Pitch, study.LimitPercent);
  if (message.isEmpty() && Parser.isSet("limit-on"))
    message = ReadLimitOn(Parser.value("limit-on"), study.LimitOn);
  Config.Sharded = Parser.isSet("shard");
  if (message.isEmpty() && Config.Sharded)
    message = ReadShard(Parser.value("shard"), Config.Shard);
  Config.Threads = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
  if (message.isEmpty() && Parser.isSet("threads"))
    message = ReadThreads(Parser.value("threads"), Config.Threads);
  Config.Quiet = Parser.isSet("quiet");
  return message;
}

// A built-in set by name, else a file.
QString ReadLimits(const QCommandLineParser &Parser, TReportConfig &Config)
{
  if (!Parser.isSet("limits"))
    return QString();
  const QString name = Parser.value("limits");
  if (name.isEmpty())
    return "--limits needs a set's name (--limits list shows them) or a file name";
  if (const TLimitSet *set = FindBuiltInLimitSet(name.toStdString())) {
    Config.Limits = *set;
    return QString();
  }
  Config.Limits.emplace();
  return ReadLimitsFile(name, *Config.Limits);
}

// Capture, study and merge write summary, json or csv; summary unless told.
QString ReadReportFormat(const QCommandLineParser &Parser, TReportConfig &Config)
{
  if (Parser.isSet("format")) {
    QString message = ReadFormat(Parser.value("format"), Config.Format);
    if (!message.isEmpty())
      return message;
  }
  if (Config.Mode == TReportMode::Evaluation || Config.Mode == TReportMode::Sweep ||
      Config.Format != TReportFormat::Table)
    return QString();
  if (!Parser.isSet("format")) {
    Config.Format = TReportFormat::Summary;
    return QString();
  }
  if (Config.Mode == TReportMode::Capture)
    return "--capture writes summary, json or csv, not a table";
  if (Config.Mode == TReportMode::Acquire)
    return "--acquire writes summary, json or csv, not a table";
  return "--monte-carlo and --merge write summary, json or csv, not a table";
}

QString Interpret(const QCommandLineParser &Parser, TReportConfig &Config)
{
  Config.Mode = SelectMode(Parser);
  const QStringList arguments = Parser.positionalArguments();
  // --merge takes its files as arguments.
  if (!arguments.isEmpty() && Config.Mode != TReportMode::Merge)
    return UnexpectedArgumentMessage(arguments.first());
  QString message = CheckOptionsFitMode(Parser, Config.Mode);
  if (message.isEmpty())
    message = ReadSetup(Parser, Config);
  if (message.isEmpty())
    message = ReadReportFormat(Parser, Config);
  if (message.isEmpty())
    message = ReadOutputs(Parser, Config);
  if (!message.isEmpty())
    return message;
  switch (Config.Mode) {
    case TReportMode::Evaluation:
      return ReadLimits(Parser, Config);
    case TReportMode::Sweep:
      return ReadSweep(Parser.value("sweep"), Config.Sweep);
    case TReportMode::Capture:
      message = ReadCapture(Parser, Config.Capture);
      return message.isEmpty() ? ReadLimits(Parser, Config) : message;
    case TReportMode::Acquire:
      message = ReadAcquire(Parser, Config);
      return message.isEmpty() ? ReadLimits(Parser, Config) : message;
    case TReportMode::Study:
      message = ReadStudy(Parser, Config.Setup, Config.Study);
      return message.isEmpty() ? ReadLimits(Parser, Config) : message;
    case TReportMode::Merge:
      Config.Study.Quiet = Parser.isSet("quiet");
      Config.Study.MergeFiles = arguments;
      return arguments.isEmpty() ? "--merge needs the shards' JSON files" : QString();
  }
  return QString();
}

QString HelpText(const QCommandLineParser &Parser)
{
  // The usage line names the program as it is installed, not the path it
  // was started by; the exit statuses close the text, for scripts.
  QString text = Parser.helpText();
  text.replace(0, text.indexOf('\n'), "Usage: vantrel-report [options]");
  text +=
      "\nExit status:\n"
      "  0    the counter returned to zero; with --limits: every check PASSes\n"
      "  1    \"" +
      QString(CountErrorMessage) +
      "\" (also on standard error); the output\n"
      "       is still complete; for --monte-carlo or --merge: some trial lost\n"
      "       counts or exceeded --limit; with --limits: a check FAILs (its\n"
      "       value lies outside a bound by more than twice its uncertainty)\n"
      "  2    a usage or input error, or an output that cannot be written,\n"
      "       named in one line on standard error; nothing is written to\n"
      "       standard output or to any output file\n"
      "  3    with --limits: no check fails but one is UNDECIDED (its value\n"
      "       lies within twice its uncertainty of a bound, or is unknown)\n"
      "  130  a --monte-carlo study stopped by Ctrl-C; the summary covers the\n"
      "       trials completed and is marked partial; an --acquire stopped by\n"
      "       Ctrl-C after its first frame reports the frames acquired\n";
  return text;
}

}  // namespace

TParsedCommandLine ParseCommandLine(const QStringList &Arguments)
{
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Evaluates a simulated sine/cosine encoder and its arctangent interpolator: the "
      "window's table, CSV, a summary of the interpolation error and its harmonics, JSON, "
      "plots, parameter sweeps, oscilloscope captures and tolerance studies.");
  const QCommandLineOption help({"h", "help"}, "Show this help and exit.");
  const QCommandLineOption version({"v", "version"}, "Show the version and exit.");
  parser.addOption(help);
  parser.addOption(version);
  for (const TOptionDefinition &option : OptionDefinitions())
    parser.addOption(QCommandLineOption(option.Name, option.Help, option.ValueName));

  TParsedCommandLine result;
  // The program name is not ours to parse; a placeholder stands in.
  if (!parser.parse(QStringList("vantrel-report") + Arguments)) {
    result.Action = TParsedCommandLine::Error;
    result.Message = parser.errorText();
  } else if (parser.isSet(help)) {
    // Only asked for: Qt words it from the running application, which a
    // program embedding the report may not have.
    result.Action = TParsedCommandLine::Help;
    result.HelpText = HelpText(parser);
  } else if (parser.isSet(version)) {
    result.Action = TParsedCommandLine::Version;
  } else if (parser.isSet("limits") && parser.value("limits") == "list") {
    result.Action = TParsedCommandLine::ListLimits;
  } else {
    result.Config.Arguments = Arguments;
    result.Message = Interpret(parser, result.Config);
    if (!result.Message.isEmpty())
      result.Action = TParsedCommandLine::Error;
  }
  return result;
}
