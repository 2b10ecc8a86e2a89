#ifndef STUDYTEXT_H
#define STUDYTEXT_H

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <optional>
#include <vector>

#include "studylimits.h"
#include "studyrun.h"
#include "studystatistics.h"

class QIODevice;

// A study's trials, run here or merged from shards, and their statistics.
struct TStudyResult
{
  TStudySetup Study;
  TShard Shard;
  bool Sharded = false;
  bool Partial = false;
  // Figures[j] belongs to trial Shard.TrialIndex(j).
  TFigureList Figures;
  TStudyStatistics Statistics;
  // The trials judged against --limits.
  std::optional<TStudyJudgement> Judgement;
};

// The names --limit-on and the JSON's limit_on give the criteria:
// "half-pp" and "max-abs". False for any other name.
QString LimitOnName(TLimitOn On);
bool LimitOnFromName(const QString &Name, TLimitOn &On);

// Fills in Statistics from the figures.
void ComputeResultStatistics(TStudyResult &Result);

// What decides the trials besides the seed, as the JSON holds it; merged
// shards must agree on it.
QJsonObject StudySetupObject(const TStudySetup &Study);
// The study back from that object; false when a key is missing.
bool StudySetupFromObject(const QJsonObject &Object, TStudySetup &Study);

QByteArray StudySummaryText(const TStudyResult &Result);
// A shard's JSON also keeps every trial's figures, for --merge.
QByteArray StudyJson(const TStudyResult &Result);
// A header, then one row per trial in index order.
void WriteStudyCsv(QIODevice &Device, const TStudyResult &Result);

#endif
