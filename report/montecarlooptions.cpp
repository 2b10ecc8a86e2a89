#include "montecarlooptions.h"

#include <QCommandLineParser>
#include <cmath>
#include <thread>

#include "optionnumber.h"
#include "reportoptions.h"

namespace {

const long MaximumTrials = 100000000;
const int MaximumThreads = 256;
// Seeds stay below 2^53, so JSON's numbers carry them exactly.
const std::uint64_t MaximumSeed = 9007199254740991ULL;
const std::uint64_t DefaultSeed = 1;

// Options that mean something only in a study run here.
const char *const StudyOptions[] = {"tolerance", "distribution", "seed", "threads",
                                    "limit",     "shard",        "quiet"};
const char *const SetupOptions[] = {"pitch",    "resolution", "gain-a",  "gain-b",
                                    "offset-a", "offset-b",   "phase-a", "phase-b"};

QString ParseTolerance(const QString &Text, TTolerances &Tolerances)
{
  const int equals = Text.indexOf('=');
  if (equals < 0)
    return QString("--tolerance needs NAME=VALUE, not '%1'").arg(Text);
  const QString name = Text.left(equals), value_text = Text.mid(equals + 1);
  double *members[3][2] = {{&Tolerances.Gain[0], &Tolerances.Gain[1]},
                           {&Tolerances.Offset[0], &Tolerances.Offset[1]},
                           {&Tolerances.Phase[0], &Tolerances.Phase[1]}};
  const QStringList kinds = {"gain", "offset", "phase"};
  const QStringList parts = name.split('-');
  const int kind = kinds.indexOf(parts[0]);
  const bool both = parts.size() == 1;
  const bool channel_ok = parts.size() == 2 && (parts[1] == "a" || parts[1] == "b");
  if (kind < 0 || !(both || channel_ok))
    return QString(
               "--tolerance: '%1' is not one of gain, offset, phase, gain-a, gain-b, offset-a, "
               "offset-b, phase-a, phase-b")
        .arg(name);
  double value = 0.0;
  if (!ParseOptionNumber(value_text, value))
    return QString("--tolerance %1 needs a number, not '%2'").arg(name, value_text);
  if (!(value >= 0.0) || !std::isfinite(value))
    return QString("--tolerance %1 must be 0 or more and finite, not '%2'").arg(name, value_text);
  for (int c = 0; c < 2; ++c)
    if (both || parts[1] == QString(QChar('a' + c)))
      *members[kind][c] = value;
  return QString();
}

QString ParseLimit(const QString &Text, double Pitch, double &Percent)
{
  double value = 0.0;
  QByteArray unit;
  if (!ParseOptionNumber(Text, value, &unit) || !std::isfinite(value) || !(value > 0.0))
    return QString("--limit needs a positive number and a unit (%, deg or mm), not '%1'").arg(Text);
  if (unit == "%")
    Percent = value;
  else if (unit == "deg")
    Percent = value / 360.0 * 100.0;
  else if (unit == "mm")
    Percent = value / Pitch * 100.0;
  else
    return QString("--limit: the unit of '%1' must be %, deg or mm").arg(Text);
  return QString();
}

QString ParseShard(const QString &Text, TShard &Shard)
{
  const QStringList parts = Text.split('/');
  if (parts.size() != 2 || !ParseOptionNumber(parts[0], Shard.Index) ||
      !ParseOptionNumber(parts[1], Shard.Count) || Shard.Count < 1 || Shard.Count > MaximumTrials ||
      Shard.Index < 0 || Shard.Index >= Shard.Count)
    return QString("--shard needs K/N with 0 <= K < N, not '%1'").arg(Text);
  return QString();
}

QString InterpretStudy(const QCommandLineParser &Parser, TReportOptions &Options)
{
  TMonteCarloOptions &mc = Options.MonteCarlo;
  TStudySetup &study = mc.Study;
  study.Nominal = Options.Setup;
  const QString trials = Parser.value("monte-carlo");
  if (!ParseOptionNumber(trials, study.Trials) || study.Trials < 1 || study.Trials > MaximumTrials)
    return QString("--monte-carlo needs a whole number of trials from 1 to %1, not '%2'")
        .arg(MaximumTrials)
        .arg(trials);
  for (const QString &tolerance : Parser.values("tolerance")) {
    const QString message = ParseTolerance(tolerance, study.Tolerances);
    if (!message.isEmpty())
      return message;
  }
  const QString distribution = Parser.value("distribution");
  if (distribution == "uniform")
    study.Distribution = TDistribution::Uniform;
  else if (Parser.isSet("distribution") && distribution != "normal")
    return QString("--distribution must be normal or uniform, not '%1'").arg(distribution);
  study.Seed = DefaultSeed;
  if (Parser.isSet("seed") &&
      (!ParseOptionNumber(Parser.value("seed"), study.Seed) || study.Seed > MaximumSeed))
    return QString("--seed needs a whole number from 0 to %1, not '%2'")
        .arg(MaximumSeed)
        .arg(Parser.value("seed"));
  if (Parser.isSet("limit")) {
    const QString message =
        ParseLimit(Parser.value("limit"), study.Nominal.Pitch, study.LimitPercent);
    if (!message.isEmpty())
      return message;
  }
  mc.Sharded = Parser.isSet("shard");
  if (mc.Sharded) {
    const QString message = ParseShard(Parser.value("shard"), mc.Shard);
    if (!message.isEmpty())
      return message;
  }
  return QString();
}

}  // namespace

void AddMonteCarloOptions(QCommandLineParser &Parser)
{
  Parser.addOptions({
      {"monte-carlo",
       "Tolerance study: N trials (1 to 100000000), each drawing the six channel parameters "
       "around the setup's values; writes summary (default), json or csv.",
       "N"},
      {"tolerance",
       "Spread of gain, offset or phase (both channels) or of one channel's (gain-a, "
       "offset-b, ...), in the parameter's unit (phase in radians); repeatable (default 0).",
       "NAME=VALUE"},
      {"distribution",
       "normal (the tolerance is the standard deviation; default) or uniform (the half-width).",
       "name"},
      {"seed", "Seed of the study's trials, 0 to 2^53 - 1 (default 1).", "S"},
      {"threads", "Threads for the study (default: all cores).", "K"},
      {"limit",
       "Largest interpolation error magnitude a unit may have, in % of the period, deg or mm, "
       "e.g. 0.5deg (default 1%).",
       "value"},
      {"shard", "Run only the trials whose index is K modulo N; the JSON keeps every trial.",
       "K/N"},
      {"merge", "Combine the JSON files of all shards, given as arguments, into one result."},
      {"quiet", "No progress bar on a terminal."},
  });
}

QString InterpretMonteCarlo(const QCommandLineParser &Parser, TReportOptions &Options)
{
  TMonteCarloOptions &mc = Options.MonteCarlo;
  mc.Merge = Parser.isSet("merge");
  mc.Enabled = mc.Merge || Parser.isSet("monte-carlo");
  for (const char *option : StudyOptions)
    if (Parser.isSet(option) && !Parser.isSet("monte-carlo") &&
        !(mc.Merge && QString(option) == "quiet"))
      return QString("--%1 needs --monte-carlo N").arg(option);
  if (!mc.Enabled)
    return QString();
  for (const char *option : {"sweep", "scope", "xy"})
    if (Parser.isSet(option))
      return QString("--%1 does not go with --monte-carlo or --merge").arg(option);
  if (Options.Format == TReportFormat::Table) {
    if (Parser.isSet("format"))
      return "--monte-carlo and --merge write summary, json or csv, not a table";
    Options.Format = TReportFormat::Summary;
  }
  mc.Quiet = Parser.isSet("quiet");
  if (mc.Merge) {
    if (Parser.isSet("monte-carlo"))
      return "--merge takes the study from its files; leave out --monte-carlo";
    for (const char *option : SetupOptions)
      if (Parser.isSet(option))
        return QString("--merge takes the setup from its files; leave out --%1").arg(option);
    mc.MergeFiles = Parser.positionalArguments();
    if (mc.MergeFiles.isEmpty())
      return "--merge needs the shards' JSON files";
    return QString();
  }
  mc.Threads = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
  if (Parser.isSet("threads") && (!ParseOptionNumber(Parser.value("threads"), mc.Threads) ||
                                  mc.Threads < 1 || mc.Threads > MaximumThreads))
    return QString("--threads needs a whole number from 1 to %1, not '%2'")
        .arg(MaximumThreads)
        .arg(Parser.value("threads"));
  return InterpretStudy(Parser, Options);
}
