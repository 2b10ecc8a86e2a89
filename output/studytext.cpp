#include "studytext.h"

#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <cmath>

#include "chunkedwrite.h"
#include "encoderinterpolator.h"
#include "errorunits.h"
#include "limitstext.h"
#include "numbertext.h"
#include "reproducecommand.h"
#include "setupjson.h"
#include "textcolumns.h"

namespace {

// Labels of this block are padded to this width.
const int LabelWidth = 30;

double PercentToMm(double Percent, const TStudySetup &Study)
{
  return PercentPeriodToMm(Percent, Study.Nominal.Pitch);
}

// The percentiles' factor from % of the period to mm: one period is one
// pitch.
double MmPerPercent(const TStudySetup &Study)
{
  return Study.Nominal.Pitch / 100.0;
}

double Share(long Part, long Whole)
{
  return Whole > 0 ? static_cast<double>(Part) / Whole : 0.0;
}

QJsonObject PercentilesObject(const TPercentiles &P, double Scale)
{
  return {{"p50", P.P50 * Scale},
          {"p90", P.P90 * Scale},
          {"p99", P.P99 * Scale},
          {"p999", P.P999 * Scale},
          {"max", P.Max * Scale}};
}

QString PercentilesRow(const TPercentiles &P, double Scale)
{
  return Num(P.P50 * Scale) + Num(P.P90 * Scale) + Num(P.P99 * Scale) + Num(P.P999 * Scale) +
         Num(P.Max * Scale);
}

// The key of a signal parameter's tolerance: "harmonic3_tolerance".
QString ToleranceKey(const TSetupParameter &Parameter)
{
  return QString(Parameter.Key) + "_tolerance";
}

// The channel parameters' tolerances that are set.
QString ToleranceText(const TTolerances &T)
{
  QStringList parts;
  for (const TSetupParameter *parameter : ChannelParameters())
    if (T.Of(*parameter) != 0.0)
      parts << QString("%1 %2").arg(parameter->Name, ShortestText(T.Of(*parameter)));
  return parts.isEmpty() ? QString("none") : parts.join(", ");
}

QString JudgedName(TLimitOn On)
{
  return On == TLimitOn::MaxAbs ? "the largest magnitude" : "half the peak-to-peak";
}

QString VerdictLine(const TStudyStatistics &S)
{
  if (S.CountErrors == 0 && S.OverLimit == 0)
    return "every trial passed";
  return QString("%1 trials lost counts, %2 exceeded the limit")
      .arg(S.CountErrors)
      .arg(S.OverLimit);
}

void AppendNumber(QByteArray &Text, double Value)
{
  Text.append(',');
  AppendShortest(Text, Value);
}

}  // namespace

QString LimitOnName(TLimitOn On)
{
  return On == TLimitOn::MaxAbs ? "max-abs" : "half-pp";
}

bool LimitOnFromName(const QString &Name, TLimitOn &On)
{
  for (TLimitOn on : {TLimitOn::HalfPeakToPeak, TLimitOn::MaxAbs})
    if (Name == LimitOnName(on)) {
      On = on;
      return true;
    }
  return false;
}

void ComputeResultStatistics(TStudyResult &Result)
{
  Result.Statistics =
      ComputeStatistics(Result.Figures, Result.Study.LimitPercent, Result.Study.LimitOn,
                        Result.Shard.Index, Result.Shard.Count);
}

QJsonObject StudySetupObject(const TStudySetup &Study)
{
  QJsonObject object, tolerances;
  for (const TSetupParameter &parameter : SetupParameters())
    if (parameter.Part == TParameterPart::Scale || parameter.Part == TParameterPart::Channel)
      object[parameter.Key] = parameter.In(Study.Nominal);
  object["count"] = Study.Nominal.Count();
  for (const TSetupParameter *parameter : ChannelParameters())
    tolerances[parameter->Key] = Study.Tolerances.Of(*parameter);
  object["tolerances"] = tolerances;
  object["distribution"] = Study.Distribution == TDistribution::Normal ? "normal" : "uniform";
  object["limit_percent_period"] = Study.LimitPercent;
  object["limit_on"] = LimitOnName(Study.LimitOn);
  object["requested_trials"] = static_cast<double>(Study.Trials);
  // The signal's options only when in use, so a plain study's file stays
  // as it was.
  QJsonObject signal{{"adc_bits", Study.Nominal.Signal.AdcBits}};
  bool toleranced = false;
  for (const TSetupParameter &parameter : SetupParameters())
    if (parameter.Part == TParameterPart::Signal) {
      signal[parameter.Key] = parameter.In(Study.Nominal);
      if (parameter.Toleranced) {
        signal[ToleranceKey(parameter)] = Study.Tolerances.Of(parameter);
        toleranced = toleranced || Study.Tolerances.Of(parameter) != 0.0;
      }
    } else if (parameter.Part == TParameterPart::Harmonic &&
               Study.Tolerances.Of(parameter) != 0.0) {
      // The other orders only when set, as files before them had none.
      signal[ToleranceKey(parameter)] = Study.Tolerances.Of(parameter);
      toleranced = true;
    }
  if (Study.Nominal.Signal.HasOtherHarmonics())
    signal["harmonics"] = HarmonicsArray(Study.Nominal.Signal);
  if (!Study.Nominal.Signal.Plain() || toleranced)
    object["signal"] = signal;
  return object;
}

namespace {

// The signal's options of a study's file, checked as the command line
// checks them.
bool SignalFromObject(const QJsonObject &Object, TStudySetup &Study)
{
  for (const TSetupParameter &parameter : SetupParameters()) {
    if (parameter.Part == TParameterPart::Harmonic && Object.contains(ToleranceKey(parameter))) {
      const QJsonValue tolerance = Object[ToleranceKey(parameter)];
      if (!tolerance.isDouble() || !(tolerance.toDouble() >= 0.0) ||
          !std::isfinite(tolerance.toDouble()))
        return false;
      Study.Tolerances.Of(parameter) = tolerance.toDouble();
    }
    if (parameter.Part != TParameterPart::Signal)
      continue;
    const QJsonValue value = Object[parameter.Key];
    if (!value.isDouble() || !parameter.Range->Contains(value.toDouble()))
      return false;
    parameter.In(Study.Nominal) = value.toDouble();
    if (parameter.Toleranced) {
      const QJsonValue tolerance = Object[ToleranceKey(parameter)];
      if (!tolerance.isDouble() || !(tolerance.toDouble() >= 0.0) ||
          !std::isfinite(tolerance.toDouble()))
        return false;
      Study.Tolerances.Of(parameter) = tolerance.toDouble();
    }
  }
  if (!HarmonicsFromArray(Object["harmonics"].toArray(), Study.Nominal.Signal))
    return false;
  int &bits = Study.Nominal.Signal.AdcBits;
  bits = Object["adc_bits"].toInt(-1);
  return bits == 0 || (bits >= MinimumAdcBits && bits <= MaximumAdcBits);
}

}  // namespace

bool StudySetupFromObject(const QJsonObject &Object, TStudySetup &Study)
{
  const QJsonObject tolerances = Object["tolerances"].toObject();
  for (const char *key : {"limit_percent_period", "requested_trials"})
    if (!Object[key].isDouble())
      return false;
  for (const TSetupParameter &parameter : SetupParameters()) {
    if (parameter.Part == TParameterPart::Signal || parameter.Part == TParameterPart::Harmonic)
      continue;
    const bool channel = parameter.Part == TParameterPart::Channel;
    if (!Object[parameter.Key].isDouble() || (channel && !tolerances[parameter.Key].isDouble()))
      return false;
    parameter.In(Study.Nominal) = Object[parameter.Key].toDouble();
    if (channel)
      Study.Tolerances.Of(parameter) = tolerances[parameter.Key].toDouble();
  }
  const QString distribution = Object["distribution"].toString();
  if (distribution != "normal" && distribution != "uniform")
    return false;
  Study.Distribution = distribution == "normal" ? TDistribution::Normal : TDistribution::Uniform;
  Study.LimitPercent = Object["limit_percent_period"].toDouble();
  // Results written before the choice existed judged the largest magnitude.
  if (!LimitOnFromName(Object["limit_on"].toString("max-abs"), Study.LimitOn))
    return false;
  Study.Trials = static_cast<long>(Object["requested_trials"].toDouble());
  if (Object.contains("signal") && !SignalFromObject(Object["signal"].toObject(), Study))
    return false;
  // Within what --monte-carlo accepts, so a damaged file cannot ask for
  // any amount of memory.
  return Study.Nominal.Pitch > 0.0 && Study.Nominal.Resolution > 0.0 &&
         CountInRange(Study.Nominal.Pitch, Study.Nominal.Resolution) && Study.Trials > 0 &&
         Study.Trials <= MaximumTrials;
}

QByteArray StudySummaryText(const TStudyResult &R)
{
  const TStudySetup &study = R.Study;
  const TStudyStatistics &s = R.Statistics;
  QString text = "Monte Carlo study\n";
  QString trials = QString(" %1 of %2").arg(s.Trials).arg(study.Trials);
  if (R.Sharded)
    trials += QString(" (shard %1/%2)").arg(R.Shard.Index).arg(R.Shard.Count);
  if (R.Partial)
    trials += " (partial: stopped by Ctrl-C)";
  text += Line("Trials", trials, LabelWidth);
  text += Line("Seed", QString(" %1").arg(study.Seed), LabelWidth);
  text +=
      Line("Distribution",
           study.Distribution == TDistribution::Normal ? " normal (tolerance = standard deviation)"
                                                       : " uniform (tolerance = half-width)",
           LabelWidth);
  text += Line("Tolerances (phase in rad)", ' ' + ToleranceText(study.Tolerances), LabelWidth);
  text += Line("Nominal setup", ' ' + ReproduceCommand(study.Nominal, true, true), LabelWidth);
  text += Line("Interpolator count", QString(" %1").arg(study.Nominal.Count()), LabelWidth);
  text += Line("Limit",
               QString(" %1 % of the period (%2 mm) on %3")
                   .arg(ShortestText(study.LimitPercent))
                   .arg(Figure(PercentToMm(study.LimitPercent, study)))
                   .arg(JudgedName(study.LimitOn)),
               LabelWidth);
  text += Line("Clamped draws", QString(" %1").arg(s.Clamped), LabelWidth);

  text += '\n' + Heading("Verdicts", {"trials", "share %", "95 % low", "95 % high"}, LabelWidth);
  const auto verdict = [&](long Count) {
    const TInterval interval = WilsonInterval(Count, s.Trials);
    return Whole(Count) + Num(100.0 * Share(Count, s.Trials)) + Num(100.0 * interval.Low) +
           Num(100.0 * interval.High);
  };
  text += Line("Lost counts", verdict(s.CountErrors), LabelWidth);
  text += Line("Over the limit", verdict(s.OverLimit), LabelWidth);

  text += '\n' + Heading("Interpolation error", {"p50", "p90", "p99", "p99.9", "max"}, LabelWidth);
  const double mm = MmPerPercent(study);
  text += Line("Peak-to-peak (% period)", PercentilesRow(s.PeakToPeak, 1.0), LabelWidth);
  text += Line("Peak-to-peak (mm)", PercentilesRow(s.PeakToPeak, mm), LabelWidth);
  text += Line("Half peak-to-peak (% period)", PercentilesRow(s.PeakToPeak, 0.5), LabelWidth);
  text += Line("Largest magnitude (% period)", PercentilesRow(s.MaxAbs, 1.0), LabelWidth);
  text += Line("Largest magnitude (mm)", PercentilesRow(s.MaxAbs, mm), LabelWidth);

  if (s.WorstIndex >= 0) {
    const TTrialFigures &worst = R.Figures[(s.WorstIndex - R.Shard.Index) / R.Shard.Count];
    text += QString("\nWorst trial: %1 (%2, %3 %4 % of the period)\n")
                .arg(s.WorstIndex)
                .arg(worst.CountError ? "lost counts" : "counted right")
                .arg(JudgedName(study.LimitOn))
                .arg(Figure(JudgedPercent(worst, study.LimitOn)));
    text += "  " + ReproduceCommand(DrawTrial(study, s.WorstIndex).Setup, true, true) + '\n';
  }
  // --limit judges the error alone: the signal-quality limits' failures
  // belong on the same line, or it would read as if all was well.
  if (R.Judgement)
    text += QString("\nResult: %1; %2 of %3 trials failed a signal-quality limit\n")
                .arg(s.CountErrors == 0 && s.OverLimit == 0
                         ? QString("no trial lost counts or exceeded the limit")
                         : VerdictLine(s))
                .arg(R.Judgement->FailingTrials)
                .arg(s.Trials);
  else
    text += "\nResult: " + VerdictLine(s) + '\n';
  if (R.Judgement)
    text += TrialChecksText(*R.Judgement);
  return text.toUtf8();
}

QByteArray StudyJson(const TStudyResult &R)
{
  const TStudySetup &study = R.Study;
  const TStudyStatistics &s = R.Statistics;
  const auto interval = [&](long Count) {
    const TInterval i = WilsonInterval(Count, s.Trials);
    return QJsonArray{i.Low, i.High};
  };
  const double mm = MmPerPercent(study);
  QJsonObject root{
      {"trials", static_cast<double>(s.Trials)},
      {"seed", static_cast<double>(study.Seed)},
      {"partial", R.Partial},
      {"setup", StudySetupObject(study)},
      {"count_errors", static_cast<double>(s.CountErrors)},
      {"count_error_share", Share(s.CountErrors, s.Trials)},
      {"count_error_interval", interval(s.CountErrors)},
      {"over_limit", static_cast<double>(s.OverLimit)},
      {"over_limit_share", Share(s.OverLimit, s.Trials)},
      {"over_limit_interval", interval(s.OverLimit)},
      {"limit_mm", PercentToMm(study.LimitPercent, study)},
      {"limit_on", LimitOnName(study.LimitOn)},
      {"clamped", static_cast<double>(s.Clamped)},
      {"peak_to_peak_percent_period", PercentilesObject(s.PeakToPeak, 1.0)},
      {"peak_to_peak_mm", PercentilesObject(s.PeakToPeak, mm)},
      {"max_abs_percent_period", PercentilesObject(s.MaxAbs, 1.0)},
      {"max_abs_mm", PercentilesObject(s.MaxAbs, mm)},
  };
  if (R.Judgement)
    root["checks"] = TrialChecksJson(*R.Judgement);
  if (s.WorstIndex >= 0) {
    const TEncoderSetup setup = DrawTrial(study, s.WorstIndex).Setup;
    QJsonObject worst = ChannelParametersObject(setup);
    worst["index"] = static_cast<double>(s.WorstIndex);
    worst["command"] = ReproduceCommand(setup, true, true);
    root["worst"] = worst;
  }
  if (R.Sharded) {
    root["shard"] = QJsonObject{{"index", static_cast<double>(R.Shard.Index)},
                                {"count", static_cast<double>(R.Shard.Count)}};
    QJsonArray count_error, clamped, peak_to_peak, max_abs;
    for (const TTrialFigures &f : R.Figures) {
      count_error.append(f.CountError ? 1 : 0);
      clamped.append(f.Clamped);
      peak_to_peak.append(f.PeakToPeak);
      max_abs.append(f.MaxAbs);
    }
    root["per_trial"] = QJsonObject{{"count_error", count_error},
                                    {"clamped", clamped},
                                    {"peak_to_peak_percent_period", peak_to_peak},
                                    {"max_abs_percent_period", max_abs}};
  }
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

void WriteStudyCsv(QIODevice &Device, const TStudyResult &R)
{
  QByteArray text = "index";
  for (const TSetupParameter *parameter : ChannelParameters())
    text += QByteArray(",") + parameter->Key;
  text += ",count_error,peak_to_peak_percent_period,max_abs_percent_period\n";
  for (std::size_t j = 0; j < R.Figures.size(); ++j) {
    const long index = R.Shard.TrialIndex(static_cast<long>(j));
    const TEncoderSetup setup = DrawTrial(R.Study, index).Setup;
    const TTrialFigures &f = R.Figures[j];
    text += QByteArray::number(static_cast<qlonglong>(index));
    for (const TSetupParameter *parameter : ChannelParameters())
      AppendNumber(text, parameter->In(setup));
    text += f.CountError ? ",1" : ",0";
    AppendNumber(text, f.PeakToPeak);
    AppendNumber(text, f.MaxAbs);
    text += '\n';
    WriteFullChunk(Device, text);
  }
  Device.write(text);
}
