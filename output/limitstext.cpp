#include "limitstext.h"

#include <QJsonObject>

#include "numbertext.h"
#include "textcolumns.h"

namespace {

const int LabelWidth = 28;

QString Optional(double Value)
{
  return Given(Value) ? Num(Value) : Column("-");
}

QJsonValue OptionalJson(double Value)
{
  return Given(Value) ? QJsonValue(Value) : QJsonValue();
}

QString BoundsText(const TLimit *Band)
{
  if (!Band)
    return Column("-") + Column("-") + Column("-");
  return Optional(Band->Low) + Optional(Band->High) + Optional(Band->BelowHz);
}

}  // namespace

QString LimitLabel(const std::string &Name, TLimitQuantity Quantity)
{
  const char *unit = QuantityInfo(Quantity).Unit;
  const QString name = QString::fromStdString(Name);
  return *unit ? QString("%1 (%2)").arg(name, unit) : name;
}

QString VerdictText(TVerdict Verdict)
{
  switch (Verdict) {
    case TVerdict::Pass:
      return "PASS";
    case TVerdict::Fail:
      return "FAIL";
    case TVerdict::Undecided:
      break;
  }
  return "UNDECIDED";
}

QString ChecksText(const TJudgement &Judgement)
{
  QString text =
      QString("\nSignal-quality limits %1\n").arg(QString::fromStdString(Judgement.SetName));
  text += Heading(QString(), {"Value", "+- 2u", "Low", "High", "Below Hz"}, LabelWidth);
  for (const TCheck &check : Judgement.Checks) {
    const TJudgedValue &v = check.Value;
    const QString value =
        Given(v.Value) ? Num(v.Value) + Num(2.0 * v.Uncertainty) : Column("-") + Column("-");
    text += Line(LimitLabel(check.Name, check.Quantity),
                 value + BoundsText(check.Band) + "  " + VerdictText(check.Verdict), LabelWidth);
  }
  return text;
}

QJsonArray ChecksJson(const TJudgement &Judgement)
{
  QJsonArray checks;
  for (const TCheck &check : Judgement.Checks) {
    const bool known = Given(check.Value.Value);
    const TLimit *band = check.Band;
    checks.append(
        QJsonObject{{"name", QString::fromStdString(check.Name)},
                    {"quantity", QuantityInfo(check.Quantity).Key},
                    {"value", OptionalJson(check.Value.Value)},
                    {"uncertainty", known ? QJsonValue(check.Value.Uncertainty) : QJsonValue()},
                    {"low", OptionalJson(band ? band->Low : NoValue)},
                    {"high", OptionalJson(band ? band->High : NoValue)},
                    {"below_hz", OptionalJson(band ? band->BelowHz : NoValue)},
                    {"verdict", VerdictText(check.Verdict)}});
  }
  return checks;
}

QStringList JudgementWarnings(const TJudgement &Judgement)
{
  QStringList warnings;
  if (Judgement.TightestForUnknownFrequency)
    warnings << "the signal frequency is unknown: limits given per frequency band are judged by "
                "their tightest band";
  for (const TCheck &check : Judgement.Checks)
    if (!check.Band)
      warnings << QString(
                      "the signal frequency %1 Hz lies above every band of limit \"%2\": "
                      "it stays UNDECIDED")
                      .arg(Figure(Judgement.FrequencyHz), QString::fromStdString(check.Name));
  return warnings;
}

QString JudgementLine(const TJudgement &Judgement)
{
  return QString("limits %1: %2 of %3 checks pass, %4 fail, %5 undecided")
      .arg(QString::fromStdString(Judgement.SetName))
      .arg(Judgement.Count(TVerdict::Pass))
      .arg(Judgement.Checks.size())
      .arg(Judgement.Count(TVerdict::Fail))
      .arg(Judgement.Count(TVerdict::Undecided));
}

QString TrialChecksText(const TStudyJudgement &Judgement)
{
  const TJudgement &j = Judgement.Checks;
  QString text = QString("\nSignal-quality limits %1, each trial exact\n")
                     .arg(QString::fromStdString(j.SetName));
  text += Heading("  Trials",
                  {VerdictText(TVerdict::Pass), VerdictText(TVerdict::Fail),
                   VerdictText(TVerdict::Undecided), "Low", "High", "Below Hz"},
                  LabelWidth);
  for (std::size_t i = 0; i < j.Checks.size(); ++i) {
    const TCheckCounts &c = Judgement.Counts[i];
    text += Line(LimitLabel(j.Checks[i].Name, j.Checks[i].Quantity),
                 Whole(c.Pass) + Whole(c.Fail) + Whole(c.Undecided) + BoundsText(j.Checks[i].Band),
                 LabelWidth);
  }
  return text;
}

QJsonArray TrialChecksJson(const TStudyJudgement &Judgement)
{
  QJsonArray checks;
  const std::vector<TCheck> &list = Judgement.Checks.Checks;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const TLimit &band = *list[i].Band;
    const TCheckCounts &c = Judgement.Counts[i];
    checks.append(QJsonObject{{"name", QString::fromStdString(list[i].Name)},
                              {"quantity", QuantityInfo(list[i].Quantity).Key},
                              {"low", OptionalJson(band.Low)},
                              {"high", OptionalJson(band.High)},
                              {"below_hz", OptionalJson(band.BelowHz)},
                              {"pass", static_cast<double>(c.Pass)},
                              {"fail", static_cast<double>(c.Fail)},
                              {"undecided", static_cast<double>(c.Undecided)}});
  }
  return checks;
}

QString TrialJudgementLine(const TStudyJudgement &Judgement, long Trials)
{
  return QString("limits %1: %2 of %3 trials fail a check, %4 more are undecided")
      .arg(QString::fromStdString(Judgement.Checks.SetName))
      .arg(Judgement.FailingTrials)
      .arg(Trials)
      .arg(Judgement.UndecidedTrials);
}

QByteArray LimitSetsText()
{
  QString text;
  for (const TLimitSet &set : BuiltInLimitSets()) {
    text += QString("%1: %2\n")
                .arg(QString::fromStdString(set.Name), QString::fromStdString(set.Description));
    text += Heading(QString(), {"Low", "High", "Below Hz"}, LabelWidth);
    for (const TLimit &limit : set.Limits)
      text += Line(LimitLabel(limit.Name, limit.Quantity), BoundsText(&limit), LabelWidth);
    text += '\n';
  }
  text += "Quantities a limits file may name\n";
  for (const TLimitQuantityInfo &info : LimitQuantities())
    text += Line(info.Key, info.Meaning, LabelWidth);
  return text.toUtf8();
}
