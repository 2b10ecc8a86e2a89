#include "optionvalues.h"

#include <QCommandLineParser>
#include <QStringList>
#include <cmath>

#include "encoderinterpolator.h"
#include "optionnumber.h"
#include "plotfile.h"
#include "studytext.h"

namespace {

QString Number(double Value)
{
  return QString::number(Value, 'g', 15);
}

}  // namespace

QString ReadSetupValue(const TSetupParameter &Parameter, const QString &Text, double &Value)
{
  // The other harmonics' K has no option of its own, only sweeps.
  const QString name = Parameter.Part == TParameterPart::Harmonic ? QString(Parameter.Name)
                                                                  : QString("--") + Parameter.Name;
  if (!ParseOptionNumber(Text, Value))
    return QString("%1 needs a number, not '%2'").arg(name, Text);
  if (!std::isfinite(Value))
    return QString("%1 needs a finite number, not '%2'").arg(name, Text);
  const TParameterRange &range = *Parameter.Range;
  if (range.Contains(Value))
    return QString();
  if (Parameter.Part == TParameterPart::Scale)
    return QString("%1 %2 is not positive: it must be greater than 0").arg(name, Text);
  return QString("%1 %2 is outside its range %3 ... %4")
      .arg(name, Text, Number(range.Minimum), Number(range.Maximum));
}

QString CheckCount(const TEncoderSetup &Setup)
{
  if (CountInRange(Setup.Pitch, Setup.Resolution))
    return QString();
  return QString("the count --pitch / --resolution (%1) must round to %2 ... %3")
      .arg(Number(Setup.Pitch / Setup.Resolution))
      .arg(MinimumCount)
      .arg(MaximumCount);
}

QString ReadAdcBits(const QString &Text, int &Bits)
{
  if (!ParseOptionNumber(Text, Bits) || Bits < MinimumAdcBits || Bits > MaximumAdcBits)
    return QString("--adc-bits needs a whole number from %1 to %2, not '%3'")
        .arg(MinimumAdcBits)
        .arg(MaximumAdcBits)
        .arg(Text);
  return QString();
}

QString ReadHarmonic(const QString &Text, int &Order, double &K, double &Phase)
{
  const QStringList parts = Text.split(',');
  Phase = 0.0;
  if (parts.size() < 2 || parts.size() > 3)
    return QString("--harmonic needs H,K or H,K,PHI, not '%1'").arg(Text);
  if (!ParseOptionNumber(parts[0], Order) || Order < 2 || Order > MaximumHarmonic)
    return QString("--harmonic %1: the order H must be a whole number from 2 to %2, not '%3'")
        .arg(Text)
        .arg(MaximumHarmonic)
        .arg(parts[0]);
  const TParameterRange *ranges[] = {&HarmonicRange, &HarmonicPhaseRange};
  double *values[] = {&K, &Phase};
  const char *names[] = {"K", "PHI"};
  for (int i = 1; i < parts.size(); ++i) {
    const TParameterRange &range = *ranges[i - 1];
    if (!ParseOptionNumber(parts[i], *values[i - 1]) || !range.Contains(*values[i - 1]))
      return QString("--harmonic %1: %2 must be a number from %3 to %4, not '%5'")
          .arg(Text, names[i - 1], Number(range.Minimum), Number(range.Maximum), parts[i]);
  }
  return QString();
}

QString ReadFormat(const QString &Text, TReportFormat &Format)
{
  static const QStringList names = {"table", "csv", "summary", "json"};
  const int index = names.indexOf(Text);
  if (index < 0)
    return QString("--format must be table, csv, summary or json, not '%1'").arg(Text);
  Format = static_cast<TReportFormat>(index);
  return QString();
}

QString ReadSize(const QString &Text, QSize &Size)
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

QString CheckPlotExtension(const QString &Option, const QString &Path)
{
  TPlotFormat format;
  if (PlotFormatForPath(Path, format))
    return QString();
  return QString("--%1 %2: the file name must end in .png, .svg or .pdf").arg(Option, Path);
}

QString ReadSweep(const QString &Text, TSweep &Sweep)
{
  QString usage = QString("--sweep needs NAME=FROM:TO:STEPS, not '%1'").arg(Text);
  const int equals = Text.indexOf('=');
  if (equals < 0)
    return usage;
  const QString name = Text.left(equals);
  Sweep.Parameter = FindSetupParameter(name.toStdString());
  if (!Sweep.Parameter || !Sweep.Parameter->Sweeps)
    return QString("--sweep: '%1' is not one of %2").arg(name, SweptNames().join(", "));
  const QStringList parts = Text.mid(equals + 1).split(':');
  if (parts.size() != 3)
    return usage;
  for (int i = 0; i < 2; ++i) {
    const QString message =
        ReadSetupValue(*Sweep.Parameter, parts[i], i == 0 ? Sweep.From : Sweep.To);
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

QString ReadAmplitude(const QString &Text, double &Amplitude)
{
  if (!ParseOptionNumber(Text, Amplitude) || !std::isfinite(Amplitude) || !(Amplitude > 0.0))
    return QString("--amplitude needs a positive number, not '%1'").arg(Text);
  return QString();
}

QString ReadTableSettings(const QCommandLineParser &Parser, TTableSettings &Table)
{
  int size = Table.Size;
  if (Parser.isSet("table-size") &&
      (!ParseOptionNumber(Parser.value("table-size"), size) || size < MinimumTableSize ||
       size > MaximumTableSize || (size & (size - 1)) != 0))
    return QString("--table-size needs a power of two from %1 to %2, not '%3'")
        .arg(MinimumTableSize)
        .arg(MaximumTableSize)
        .arg(Parser.value("table-size"));
  Table.Size = size;
  if (Parser.isSet("table-bits") &&
      (!ParseOptionNumber(Parser.value("table-bits"), Table.Bits) ||
       Table.Bits < MinimumTableBits || Table.Bits > MaximumTableBits))
    return QString("--table-bits needs a whole number from %1 to %2, not '%3'")
        .arg(MinimumTableBits)
        .arg(MaximumTableBits)
        .arg(Parser.value("table-bits"));
  if (Parser.isSet("table-step")) {
    if (!Parser.isSet("table-bits"))
      return "--table-step needs --table-bits";
    if (!ParseOptionNumber(Parser.value("table-step"), Table.Step) ||
        !(Table.Step > 0.0 && std::isfinite(Table.Step)))
      return QString("--table-step needs a positive number of radians, not '%1'")
          .arg(Parser.value("table-step"));
  }
  return QString();
}

QString ReadFrames(const QString &Text, long &Frames)
{
  if (!ParseOptionNumber(Text, Frames) || Frames < 1 || Frames > MaximumFrames)
    return QString("--frames needs a whole number from 1 to %1, not '%2'")
        .arg(MaximumFrames)
        .arg(Text);
  return QString();
}

QString ReadTrials(const QString &Text, long &Trials)
{
  if (!ParseOptionNumber(Text, Trials) || Trials < 1 || Trials > MaximumTrials)
    return QString("--monte-carlo needs a whole number of trials from 1 to %1, not '%2'")
        .arg(MaximumTrials)
        .arg(Text);
  return QString();
}

QString ReadTolerance(const QString &Text, TTolerances &Tolerances)
{
  const int equals = Text.indexOf('=');
  if (equals < 0)
    return QString("--tolerance needs NAME=VALUE, not '%1'").arg(Text);
  const QString name = Text.left(equals), value_text = Text.mid(equals + 1);
  const QStringList names = ToleranceNames();
  if (!names.contains(name))
    return QString("--tolerance: '%1' is not one of %2").arg(name, names.join(", "));
  double value = 0.0;
  if (!ParseOptionNumber(value_text, value))
    return QString("--tolerance %1 needs a number, not '%2'").arg(name, value_text);
  if (!(value >= 0.0) || !std::isfinite(value))
    return QString("--tolerance %1 must be 0 or more and finite, not '%2'").arg(name, value_text);
  // A name or a quantity, which sets both channels.
  for (const TSetupParameter &parameter : SetupParameters())
    if (parameter.Toleranced &&
        (name == parameter.Name ||
         (parameter.Part == TParameterPart::Channel && name.toStdString() == parameter.Quantity())))
      Tolerances.Of(parameter) = value;
  return QString();
}

QString ReadDistribution(const QString &Text, TDistribution &Distribution)
{
  if (Text == "normal")
    Distribution = TDistribution::Normal;
  else if (Text == "uniform")
    Distribution = TDistribution::Uniform;
  else
    return QString("--distribution must be normal or uniform, not '%1'").arg(Text);
  return QString();
}

QString ReadLimitOn(const QString &Text, TLimitOn &On)
{
  if (!LimitOnFromName(Text, On))
    return QString("--limit-on must be half-pp or max-abs, not '%1'").arg(Text);
  return QString();
}

QString ReadSeed(const QString &Text, std::uint64_t &Seed)
{
  if (!ParseOptionNumber(Text, Seed) || Seed > MaximumSeed)
    return QString("--seed needs a whole number from 0 to %1, not '%2'").arg(MaximumSeed).arg(Text);
  return QString();
}

QString ReadThreads(const QString &Text, int &Threads)
{
  if (!ParseOptionNumber(Text, Threads) || Threads < 1 || Threads > MaximumThreads)
    return QString("--threads needs a whole number from 1 to %1, not '%2'")
        .arg(MaximumThreads)
        .arg(Text);
  return QString();
}

QString ReadLimit(const QString &Text, double Pitch, double &Percent)
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

QString ReadShard(const QString &Text, TShard &Shard)
{
  const QStringList parts = Text.split('/');
  if (parts.size() != 2 || !ParseOptionNumber(parts[0], Shard.Index) ||
      !ParseOptionNumber(parts[1], Shard.Count) || Shard.Count < 1 || Shard.Count > MaximumTrials ||
      Shard.Index < 0 || Shard.Index >= Shard.Count)
    return QString("--shard needs K/N with 0 <= K < N, not '%1'").arg(Text);
  return QString();
}
