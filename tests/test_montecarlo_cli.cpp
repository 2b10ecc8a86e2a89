// vantrel-report --monte-carlo and --merge as a user or a cluster job runs
// them: outputs, determinism, exit statuses, Ctrl-C and bad shards.
#include <gtest/gtest.h>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>

#include "reportprocess.h"

namespace {

const QStringList Spread = {"--tolerance", "gain=0.02",    "--tolerance", "offset=0.02",
                            "--tolerance", "phase-a=0.03", "--quiet"};

}  // namespace

TEST(MonteCarloCliTest, SummaryJsonAndCsvDescribeTheSameTrials)
{
  const QStringList study =
      QStringList{"--monte-carlo", "200", "--seed", "7", "--limit-on", "max-abs"} + Spread;
  const TReportRun json = RunReportProgram(study + QStringList{"--format", "json"});
  const TReportRun csv = RunReportProgram(study + QStringList{"--format", "csv"});
  const TReportRun summary = RunReportProgram(study);
  ASSERT_EQ(json.ExitCode, 1) << json.Err.constData();  // some trials exceed 1 %
  EXPECT_EQ(json.Err, "vantrel-report: " + json.Err.mid(16));
  const QJsonObject root = JsonOf(json.Out);
  EXPECT_EQ(root["trials"].toInt(), 200);
  EXPECT_EQ(root["seed"].toInt(), 7);
  EXPECT_FALSE(root["partial"].toBool());
  EXPECT_EQ(root["count_errors"].toInt(), 0);
  EXPECT_EQ(root["clamped"].toInt(), 0);
  const QJsonArray interval = root["over_limit_interval"].toArray();
  EXPECT_LT(interval[0].toDouble(), root["over_limit_share"].toDouble());
  EXPECT_GT(interval[1].toDouble(), root["over_limit_share"].toDouble());

  // One CSV row per trial in index order; the rows' figures give the
  // JSON's counts and its maximum.
  const QList<QList<QByteArray>> rows = CsvRows(csv.Out);
  ASSERT_EQ(rows.size(), 201);
  EXPECT_EQ(rows[0].join(','),
            "index,gain_a,offset_a,phase_a,gain_b,offset_b,phase_b,count_error,"
            "peak_to_peak_percent_period,max_abs_percent_period");
  int over = 0, worst_row = 0;
  double worst = 0.0;
  for (int i = 1; i <= 200; ++i) {
    const QList<QByteArray> &fields = rows[i];
    ASSERT_EQ(fields.size(), 10);
    EXPECT_EQ(fields[0].toInt(), i - 1);
    over += fields[9].toDouble() > 1.0;
    if (fields[9].toDouble() > worst) {
      worst = fields[9].toDouble();
      worst_row = i;
    }
  }
  EXPECT_EQ(root["over_limit"].toInt(), over);
  // 1 % of the period is 3.6 deg, and 0.0004 mm at the 0.040 mm pitch.
  for (const char *limit : {"3.6deg", "0.0004mm"})
    EXPECT_EQ(ReportJson(study + QStringList{"--limit", limit}, 1)["over_limit"].toInt(), over)
        << limit;
  EXPECT_LT(over, 200);
  EXPECT_EQ(root["max_abs_percent_period"].toObject()["max"].toDouble(), worst);
  const QJsonObject worst_json = root["worst"].toObject();
  EXPECT_EQ(worst_json["index"].toInt(), worst_row - 1);
  EXPECT_EQ(QByteArray::number(worst_json["gain_a"].toDouble(), 'g', 17).toDouble(),
            rows[worst_row][1].toDouble());

  // The worst trial's command line, run as a single report, gives its error.
  EXPECT_TRUE(summary.Out.contains(worst_json["command"].toString().toUtf8()));
  QStringList command = worst_json["command"].toString().split(' ');
  command.removeFirst();
  command.replace(command.indexOf("summary"), "json");
  const QJsonObject single = JsonOf(RunReportProgram(command).Out);
  EXPECT_NEAR(
      single["interpolation_error"].toObject()["max_abs"].toObject()["percent_period"].toDouble(),
      worst, 1e-9);
  EXPECT_TRUE(summary.Out.contains("Over the limit"));
  EXPECT_TRUE(summary.Out.contains("\nResult: 0 trials lost counts, " + QByteArray::number(over) +
                                   " exceeded the limit\n"));
}

TEST(MonteCarloCliTest, TheLimitJudgesHalfThePeakToPeakUnlessToldOtherwise)
{
  // Both channels shifted by 0.07 rad: the error is nearly all a bias of
  // 0.07 rad, 1.11 % of the period, beside a peak-to-peak of about 0.01 %
  // from the gains' spread. Over 0.1 %: none by half the peak-to-peak,
  // all by the largest magnitude.
  const QStringList study = {"--monte-carlo", "200",  "--phase-a",   "0.07",
                             "--phase-b",     "0.07", "--tolerance", "gain=0.001",
                             "--limit",       "0.1%", "--quiet"};
  const struct
  {
    QStringList Choice;
    const char *Name, *Summary;
    int Over, ExitCode;
  } criteria[] = {
      {{}, "half-pp", "0.1 % of the period (4e-05 mm) on half the peak-to-peak", 0, 0},
      {{"--limit-on", "half-pp"}, "half-pp", "on half the peak-to-peak", 0, 0},
      {{"--limit-on", "max-abs"},
       "max-abs",
       "0.1 % of the period (4e-05 mm) on the largest magnitude",
       200,
       1},
  };
  for (const auto &c : criteria) {
    SCOPED_TRACE(c.Name);
    const QJsonObject root = ReportJson(study + c.Choice, c.ExitCode);
    EXPECT_EQ(root["limit_on"].toString(), c.Name);
    EXPECT_EQ(root["setup"].toObject()["limit_on"].toString(), c.Name);
    EXPECT_EQ(root["over_limit"].toInt(), c.Over);
    // The bias, 0.07 / 2 pi of the period, is in every trial's magnitude.
    EXPECT_NEAR(root["max_abs_percent_period"].toObject()["p50"].toDouble(), 1.114, 0.01);
    EXPECT_LT(root["peak_to_peak_percent_period"].toObject()["max"].toDouble(), 0.2);
    EXPECT_TRUE(RunReportProgram(study + c.Choice).Out.contains(c.Summary));
  }
  ExpectRefusal(RunReportProgram(study + QStringList{"--limit-on", "rms"}), "--limit-on");
}

TEST(MonteCarloCliTest, ShardsMergeToTheSameBytes)
{
  QTemporaryDir dir;
  // Gain B nominally at 1.99: about a third of its draws are clamped.
  const QStringList study =
      QStringList{"--monte-carlo", "301", "--limit", "0.0004mm", "--gain-b", "1.99"} + Spread;
  const TReportRun one =
      RunReportProgram(study + QStringList{"--threads", "3", "--format", "json"});
  EXPECT_GT(JsonOf(one.Out)["clamped"].toInt(), 50);

  const QStringList shards = WriteShards(dir, study, {2, 0, 1}, 3);
  const TReportRun merged = RunReportProgram(QStringList{"--merge", "--format", "json"} + shards);
  EXPECT_EQ(merged.Out, one.Out);
  EXPECT_EQ(merged.ExitCode, one.ExitCode);
  EXPECT_EQ(RunReportProgram(QStringList{"--merge"} + shards).Out, RunReportProgram(study).Out);

  // Merge errors name the fault, write nothing and exit 2.
  const QString other = dir.filePath("other.json");
  RunReportProgram(
      study + QStringList{"--seed", "2", "--shard", "1/3", "--format", "json", "--output", other});
  const QString plain = dir.filePath("plain.json");
  RunReportProgram(study + QStringList{"--format", "json", "--output", plain});
  // Shard 1/3 passed off as 3/3: as many trials, but no shard of three.
  const QString beyond = dir.filePath("beyond.json");
  QJsonObject shard = JsonOf(ReadFile(shards[2]));
  shard["shard"] = QJsonObject{{"index", 3}, {"count", 3}};
  WriteFile(beyond, QJsonDocument(shard).toJson());
  const TRefusalCase cases[] = {
      {{shards[0], shards[1]}, "shard 1/3 is missing"},
      {{shards[1], shards[2], other}, "different studies"},
      {{shards[1], shards[1], shards[2]}, "both shard 0/3"},
      {{shards[0], shards[1], shards[2], beyond}, "beyond.json is shard 3/3"},
      {{shards[1], plain}, "not a shard"},
      {{shards[1], dir.filePath("none.json")}, "cannot read"},
      {{shards[1], dir.path()}, "cannot read"},
      {{}, "--merge needs"}};
  for (const TRefusalCase &c : cases)
    ExpectRefusal(RunReportProgram(QStringList{"--merge"} + c.Arguments), c.Says);
}

TEST(MonteCarloCliTest, ExitStatusSaysWhetherEveryTrialPassed)
{
  // Zero tolerances: every trial is the start setup, which passes.
  const TReportRun ideal = RunReportProgram({"--monte-carlo", "20", "--format", "json"});
  ExpectSuccess(ideal);
  EXPECT_EQ(JsonOf(ideal.Out)["over_limit"].toInt(), 0);
  // A = 0.5 sin + 0.6 never goes below 0.1, so the angle stays in the
  // upper half and no trial counts round (by hand); gain B at its limit
  // of 2.0 is clamped in about half the draws.
  const TReportRun lost = RunReportProgram({"--monte-carlo", "100", "--gain-a", "0.5", "--offset-a",
                                            "0.6", "--gain-b", "2", "--tolerance", "gain-b=0.1",
                                            "--format", "json", "--distribution", "uniform"});
  EXPECT_EQ(lost.ExitCode, 1);
  EXPECT_EQ(JsonOf(lost.Out)["count_errors"].toInt(), 100);
  EXPECT_EQ(lost.Err, "vantrel-report: 100 of 100 trials lost counts, 100 exceeded the limit\n");
  const int clamped = JsonOf(lost.Out)["clamped"].toInt();
  EXPECT_GT(clamped, 30);
  EXPECT_LT(clamped, 70);
}

TEST(MonteCarloCliTest, CtrlCStopsWithAPartialSummaryAndStatus130)
{
  QProcess process;
  process.start(VANTREL_REPORT_PROGRAM,
                {"--monte-carlo", "2000000", "--pitch", "0.12", "--resolution", "0.0001",
                 "--tolerance", "gain=0.01", "--format", "json", "--quiet"});
  ASSERT_TRUE(process.waitForStarted());
  // Time to reach the study, whose handler turns Ctrl-C into a clean stop.
  QThread::msleep(1500);
  ::kill(static_cast<pid_t>(process.processId()), SIGINT);
  ASSERT_TRUE(process.waitForFinished(30000));
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), 130);
  const QJsonObject root = JsonOf(process.readAllStandardOutput());
  EXPECT_TRUE(root["partial"].toBool());
  EXPECT_LT(root["trials"].toInt(), 2000000);
  EXPECT_TRUE(process.readAllStandardError().startsWith("vantrel-report: interrupted after "));
}

TEST(MonteCarloCliTest, LimitsJudgeEachTrialAsItsCsvRowShowsIt)
{
  // Offset A at or above 0 passes, as does half the error's peak-to-peak
  // up to 0.0585 % of the period: counted from the trials' own rows.
  QTemporaryDir dir;
  const QString limits = WriteTestFile(
      dir, "l.json",
      "{\"name\": \"s\", \"limits\": [{\"name\": \"o\", \"quantity\": \"offset_a_percent\", "
      "\"low\": 0}, {\"name\": \"e\", \"quantity\": \"error_half_pp_percent\", \"high\": "
      "0.0585}]}");
  const QStringList study = {"--monte-carlo", "40",          "--distribution",
                             "uniform",       "--tolerance", "offset-a=0.01",
                             "--limits",      limits};
  const TReportRun csv = RunReportProgram(study + QStringList{"--format", "csv"});
  int offsets = 0, errors = 0, failing = 0;
  for (const QList<QByteArray> &row : CsvRows(csv.Out).mid(1)) {
    const bool offset = row[2].toDouble() >= 0.0, error = row[8].toDouble() / 2 <= 0.0585;
    offsets += offset;
    errors += error;
    failing += !offset || !error;
  }
  ASSERT_GT(failing, 0);
  EXPECT_EQ(csv.ExitCode, 1);
  EXPECT_EQ(csv.Err, QString("vantrel-report: limits s: %1 of 40 trials fail a check, 0 more "
                             "are undecided\n")
                         .arg(failing)
                         .toUtf8());
  const QJsonArray checks = ReportJson(study, 1)["checks"].toArray();
  EXPECT_EQ(checks[0].toObject()["pass"].toInt(), offsets);
  EXPECT_EQ(checks[0].toObject()["fail"].toInt(), 40 - offsets);
  EXPECT_EQ(checks[1].toObject()["pass"].toInt(), errors);
  EXPECT_EQ(checks[1].toObject()["undecided"].toInt(), 0);
  // The summary's result line does not say that all is well.
  EXPECT_TRUE(RunReportProgram(study).Out.contains(
      QString("\nResult: no trial lost counts or exceeded the limit; %1 of 40 trials failed a "
              "signal-quality limit\n")
          .arg(failing)
          .toUtf8()));
}
