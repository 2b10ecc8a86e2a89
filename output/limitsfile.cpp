#include "limitsfile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace {

const char *const BoundKeys[] = {"low", "high", "below_hz"};

// Empty when Value is absent (Bound stays NoValue) or a number.
QString ReadBound(const QJsonObject &Entry, const char *Key, double &Bound)
{
  const QJsonValue value = Entry.value(Key);
  if (value.isUndefined())
    return QString();
  if (!value.isDouble())
    return QString("\"%1\" is not a number").arg(Key);
  Bound = value.toDouble();
  return QString();
}

// Empty when Entry is a sound limit, else what is wrong with it.
QString ReadLimit(const QJsonObject &Entry, TLimit &Limit)
{
  for (const QString &key : Entry.keys())
    if (key != "name" && key != "quantity" &&
        !std::count(std::begin(BoundKeys), std::end(BoundKeys), key))
      return QString("unknown key \"%1\"").arg(key);
  const QJsonValue quantity = Entry.value("quantity");
  if (!quantity.isString())
    return "needs a \"quantity\"";
  const TLimitQuantityInfo *info = FindLimitQuantity(quantity.toString().toStdString());
  if (!info)
    return QString("unknown quantity \"%1\"").arg(quantity.toString());
  Limit.Quantity = info->Quantity;
  for (const auto &bound : {std::make_pair("low", &Limit.Low), std::make_pair("high", &Limit.High),
                            std::make_pair("below_hz", &Limit.BelowHz)}) {
    const QString problem = ReadBound(Entry, bound.first, *bound.second);
    if (!problem.isEmpty())
      return problem;
  }
  if (!Given(Limit.Low) && !Given(Limit.High))
    return "needs \"low\" or \"high\"";
  if (Given(Limit.Low) && Given(Limit.High) && Limit.Low > Limit.High)
    return "\"low\" is above \"high\"";
  if (Given(Limit.BelowHz) && !(Limit.BelowHz > 0.0))
    return "\"below_hz\" must be above 0";
  return QString();
}

// Empty when no earlier limit of Limit's name judges another quantity or
// the same band.
QString CheckBands(const TLimitSet &Set, const TLimit &Limit)
{
  for (std::size_t i = 0; i + 1 < Set.Limits.size(); ++i) {
    const TLimit &other = Set.Limits[i];
    if (other.Name != Limit.Name)
      continue;
    if (other.Quantity != Limit.Quantity)
      return QString("judges another quantity than entry %1 of that name").arg(i + 1);
    if (Given(other.BelowHz) == Given(Limit.BelowHz) &&
        (!Given(Limit.BelowHz) || other.BelowHz == Limit.BelowHz))
      return QString("has the band of entry %1 of that name").arg(i + 1);
  }
  return QString();
}

}  // namespace

QString ReadLimitsFile(const QString &Path, TLimitSet &Set)
{
  QFile file(Path);
  if (!file.open(QIODevice::ReadOnly))
    return QString("cannot read %1: %2").arg(Path, file.errorString());
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
  if (error.error != QJsonParseError::NoError)
    return QString("%1 is not JSON: %2 at offset %3")
        .arg(Path, error.errorString())
        .arg(error.offset);
  const QJsonArray limits = document.object().value("limits").toArray();
  if (!document.isObject() || !document.object().value("limits").isArray() || limits.isEmpty())
    return QString("%1: needs an object with a non-empty \"limits\" array").arg(Path);
  const QJsonValue name = document.object().value("name");
  Set.Name = (name.isString() ? name.toString() : Path).toStdString();
  for (int i = 0; i < limits.size(); ++i) {
    const QJsonObject entry = limits[i].toObject();
    QString where = QString("%1: entry %2").arg(Path).arg(i + 1);
    if (!entry.value("name").isString() || entry.value("name").toString().isEmpty())
      return where + ": needs a \"name\"";
    where += QString(" (\"%1\")").arg(entry.value("name").toString());
    TLimit limit;
    limit.Name = entry.value("name").toString().toStdString();
    QString problem = ReadLimit(entry, limit);
    Set.Limits.push_back(limit);
    if (problem.isEmpty())
      problem = CheckBands(Set, limit);
    if (!problem.isEmpty())
      return where + ": " + problem;
  }
  return QString();
}
