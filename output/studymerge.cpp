#include "studymerge.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <map>

namespace {

struct TShardFile
{
  QString Path;
  QJsonObject Root;
  TShard Shard;
};

QString ReadShard(const QString &Path, TShardFile &File)
{
  File.Path = Path;
  QFile file(Path);
  if (!file.open(QIODevice::ReadOnly))
    return QString("cannot read %1: %2").arg(Path, file.errorString());
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
  if (error.error != QJsonParseError::NoError || !document.isObject())
    return QString("%1 is not JSON: %2").arg(Path, error.errorString());
  File.Root = document.object();
  const QJsonObject shard = File.Root["shard"].toObject();
  if (!shard["index"].isDouble() || !shard["count"].isDouble() ||
      !File.Root["per_trial"].isObject())
    return QString("%1 is not a shard's result (run with --shard K/N --format json)").arg(Path);
  File.Shard = {static_cast<long>(shard["index"].toDouble()),
                static_cast<long>(shard["count"].toDouble())};
  if (File.Root["partial"].toBool())
    return QString("%1 holds a partial shard, stopped before its end").arg(Path);
  return QString();
}

// Puts the shard's trials into Figures at their indices.
QString PlaceTrials(const TShardFile &File, long Trials, TFigureList &Figures)
{
  const QJsonObject per_trial = File.Root["per_trial"].toObject();
  const QJsonArray count_error = per_trial["count_error"].toArray();
  const QJsonArray clamped = per_trial["clamped"].toArray();
  const QJsonArray peak_to_peak = per_trial["peak_to_peak_percent_period"].toArray();
  const QJsonArray max_abs = per_trial["max_abs_percent_period"].toArray();
  const long size = File.Shard.Size(Trials);
  for (const QJsonArray *array : {&count_error, &clamped, &peak_to_peak, &max_abs})
    if (array->size() != size)
      return QString("%1 does not hold the %2 trials of shard %3/%4")
          .arg(File.Path)
          .arg(size)
          .arg(File.Shard.Index)
          .arg(File.Shard.Count);
  for (long j = 0; j < size; ++j) {
    TTrialFigures &f = Figures[File.Shard.TrialIndex(j)];
    f.CountError = count_error[j].toInt() != 0;
    f.Clamped = static_cast<std::uint8_t>(clamped[j].toInt());
    f.PeakToPeak = peak_to_peak[j].toDouble();
    f.MaxAbs = max_abs[j].toDouble();
  }
  return QString();
}

}  // namespace

QString MergeShards(const QStringList &Paths, TStudyResult &Result)
{
  // One file at a time, so only one shard's JSON is in memory at once.
  QJsonValue setup, seed;
  QString first_path;
  long shards = 0;
  std::map<long, QString> seen;
  for (const QString &path : Paths) {
    TShardFile file;
    QString message = ReadShard(path, file);
    if (!message.isEmpty())
      return message;
    if (first_path.isEmpty()) {
      first_path = path;
      setup = file.Root["setup"];
      seed = file.Root["seed"];
      shards = file.Shard.Count;
      if (!StudySetupFromObject(setup.toObject(), Result.Study) || !seed.isDouble())
        return QString("%1 does not describe its study").arg(path);
      Result.Study.Seed = static_cast<std::uint64_t>(seed.toDouble());
      Result.Figures.clear();
      Result.Figures.resize(Result.Study.Trials);
    }
    if (file.Root["setup"] != setup || file.Root["seed"] != seed)
      return QString("%1 and %2 are from different studies (setup or seed)").arg(first_path, path);
    if (file.Shard.Count != shards || file.Shard.Index < 0 || file.Shard.Index >= shards)
      return QString("%1 is shard %2/%3, but %4 is one of %5")
          .arg(path)
          .arg(file.Shard.Index)
          .arg(file.Shard.Count)
          .arg(first_path)
          .arg(shards);
    if (!seen.emplace(file.Shard.Index, path).second)
      return QString("%1 and %2 are both shard %3/%4")
          .arg(seen[file.Shard.Index], path)
          .arg(file.Shard.Index)
          .arg(shards);
    message = PlaceTrials(file, Result.Study.Trials, Result.Figures);
    if (!message.isEmpty())
      return message;
  }
  for (long k = 0; k < shards; ++k)
    if (!seen.count(k))
      return QString("shard %1/%2 is missing").arg(k).arg(shards);
  ComputeResultStatistics(Result);
  return QString();
}
