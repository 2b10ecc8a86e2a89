// The signal options on the command line: their refusals, the JSON's
// signal, correction and corrected error, sweeps of the signal, the
// study's harmonic tolerance and a capture's third harmonic.
#include <gtest/gtest.h>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QTemporaryDir>
#include <cmath>

#include "reportprocess.h"

namespace {

QJsonObject Json(const QStringList &Arguments)
{
  const TReportRun run = RunReportProgram(Arguments + QStringList{"--format", "json"});
  EXPECT_FALSE(run.Crashed);
  return QJsonDocument::fromJson(run.Out).object();
}

TEST(ReportSignalTest, BadSignalOptionsAreRefused)
{
  const struct
  {
    QStringList Arguments;
    const char *Says;
  } cases[] = {
      {{"--adc-bits", "3"}, "--adc-bits needs a whole number from 4 to 24, not '3'"},
      {{"--adc-bits", "12.5"}, "--adc-bits needs a whole number"},
      {{"--noise", "-0.01"}, "--noise -0.01 is outside its range 0 ... 1"},
      {{"--harmonic3", "0.31"}, "--harmonic3 0.31 is outside its range -0.3 ... 0.3"},
      {{"--harmonic3-phase", "x"}, "--harmonic3-phase needs a number, not 'x'"},
      {{"--noise", "0.1", "--capture", "-"}, "--noise does not go with --capture"},
      {{"--sweep", "harmonic3-phase=0:1:3"}, "is not one of gain-a"},
      {{"--sweep", "noise=0:2:3"}, "--sweep: --noise 2 is outside its range"},
      {{"--monte-carlo", "10", "--tolerance", "harmonic=0.01"}, "harmonic3"},
  };
  for (const auto &c : cases)
    ExpectRefusal(RunReportProgram(c.Arguments), c.Says);
}

TEST(ReportSignalTest, JsonCarriesTheSignalTheCorrectionAndTheEstimates)
{
  QJsonObject root = Json({});
  QJsonObject signal = root["signal"].toObject();
  EXPECT_EQ(signal["harmonic3"].toDouble(-1), 0.0);
  EXPECT_TRUE(signal["noise"].isNull() && signal["adc_bits"].isNull());
  EXPECT_TRUE(root["interpolation_error"].toObject()["rms_noise_estimate"].isNull());

  root = Json({"--harmonic3", "0.015", "--harmonic3-phase", "0.3", "--noise", "0.002", "--adc-bits",
               "12", "--seed", "4", "--offset-a", "0.01", "--gain-b", "0.98", "--phase-a", "0.02"});
  signal = root["signal"].toObject();
  EXPECT_EQ(signal["harmonic3"].toDouble(), 0.015);
  EXPECT_EQ(signal["harmonic3_phase_rad"].toDouble(), 0.3);
  EXPECT_EQ(signal["noise"].toDouble(), 0.002);
  EXPECT_EQ(signal["adc_bits"].toInt(), 12);
  const QJsonObject error = root["interpolation_error"].toObject();
  // sigma / g with g the channels' RMS-combined gain: hand-worked.
  const double gain = 1.0 / std::sqrt((1.0 + 1.0 / (0.98 * 0.98)) / 2.0);
  EXPECT_NEAR(error["rms_noise_estimate"].toObject()["rad"].toDouble(), 0.002 / gain, 1e-15);
  EXPECT_NEAR(error["rms_adc_estimate"].toObject()["rad"].toDouble(),
              2.0 / 4096 / std::sqrt(12.0) / gain, 1e-15);
  EXPECT_NEAR(root["harmonics"].toArray()[3].toObject()["estimate_rad"].toDouble(), 0.015, 1e-15);
  const QJsonObject correction = root["correction"].toObject();
  EXPECT_NEAR(correction["offset_a"].toDouble(), 0.01, 1e-3);
  EXPECT_NEAR(correction["amplitude_b"].toDouble(), 0.98, 1e-3);
  // The harmonic's phase differs between the channels by 3 * 0.02 and
  // moves the fitted phase by about K times that.
  EXPECT_NEAR(correction["phase_rad"].toDouble(), 0.02, 0.002);
  const QJsonObject corrected = root["corrected_error"].toObject();
  const QJsonArray harmonics = corrected["harmonics"].toArray();
  ASSERT_EQ(harmonics.size(), 4);
  EXPECT_NEAR(harmonics[3].toObject()["amplitude_rad"].toDouble(), 0.015, 0.015 * 0.05);
  EXPECT_LT(harmonics[0].toObject()["amplitude_rad"].toDouble(), 0.002);
  EXPECT_GT(corrected["rms"].toObject()["rad"].toDouble(), 0.015 / std::sqrt(2.0));

  // The same seed draws the same noise; another seed other noise.
  const QStringList noisy = {"--noise", "0.01", "--format", "csv"};
  EXPECT_EQ(RunReportProgram(noisy + QStringList{"--seed", "8"}).Out,
            RunReportProgram(noisy + QStringList{"--seed", "8"}).Out);
  EXPECT_NE(RunReportProgram(noisy + QStringList{"--seed", "8"}).Out,
            RunReportProgram(noisy + QStringList{"--seed", "9"}).Out);
}

TEST(ReportSignalTest, SweepOfTheHarmonicGrowsThePeakToPeakByTwiceK)
{
  const TReportRun run = RunReportProgram({"--sweep", "harmonic3=0:0.02:3"});
  EXPECT_EQ(run.ExitCode, 0);
  const QList<QByteArray> lines = run.Out.trimmed().split('\n');
  ASSERT_EQ(lines.size(), 4);
  EXPECT_TRUE(lines[0].startsWith("harmonic3,count_error,"));
  // Peak-to-peak 2 asin K in % of the period, for an otherwise ideal head.
  for (int i = 1; i < 4; ++i) {
    const QList<QByteArray> row = lines[i].split(',');
    const double k = row[0].toDouble();
    EXPECT_NEAR(row[4].toDouble(), 2.0 * std::asin(k) / (2.0 * M_PI) * 100.0, 1e-5) << k;
  }
}

TEST(ReportSignalTest, StudyTakesAHarmonicToleranceAndNamesItInTheWorstTrial)
{
  const TReportRun run = RunReportProgram({"--monte-carlo", "200", "--tolerance", "harmonic3=0.05",
                                           "--threads", "1", "--quiet", "--limit", "0.5%"});
  EXPECT_FALSE(run.Crashed);
  EXPECT_EQ(run.ExitCode, 1) << run.Err.constData();
  EXPECT_TRUE(run.Out.contains("--harmonic3=")) << run.Out.constData();

  // Shards keep the signal in their files, so merged they name the same
  // worst trial, noise seed and ADC included.
  const QStringList study = {"--monte-carlo", "60",      "--tolerance", "harmonic3=0.02",
                             "--noise",       "0.01",    "--adc-bits",  "10",
                             "--quiet",       "--format"};
  const QByteArray whole = RunReportProgram(study + QStringList{"summary"}).Out;
  QTemporaryDir dir;
  QStringList files;
  for (int k = 0; k < 2; ++k) {
    files << dir.filePath(QString("s%1.json").arg(k));
    RunReportProgram(
        study + QStringList{"json", "--shard", QString("%1/2").arg(k), "--output", files.last()});
  }
  const QByteArray merged =
      RunReportProgram(QStringList{"--merge", "--format", "summary"} + files).Out;
  const auto worst = [](const QByteArray &Text) {
    const int start = Text.indexOf("--harmonic3=");
    return Text.mid(start, Text.indexOf('\n', start) - start);
  };
  EXPECT_TRUE(worst(whole).contains("--noise=0.01 --seed=") &&
              worst(whole).contains("--adc-bits=10"))
      << whole.constData();
  EXPECT_EQ(worst(merged), worst(whole));
}

TEST(ReportSignalTest, CaptureGivesBackTheThirdHarmonicItWasMadeWith)
{
  // examples/harmonic3.csv: tools/makecapture --harmonic3 0.03, phase 0.
  const QString path = QString(VANTREL_EXAMPLES_DIR) + "/harmonic3.csv";
  const QJsonObject root = Json({"--capture", path});
  const QJsonObject distortion = root["distortion"].toObject();
  EXPECT_NEAR(distortion["harmonic3"].toDouble(), 0.03, 0.03 * 0.05);
  EXPECT_NEAR(distortion["harmonic3_phase_rad"].toDouble(), 0.0, 0.05);
  EXPECT_NEAR(distortion["corrected_harmonic4_rad"].toDouble(), 0.03, 0.03 * 0.05);
}

}  // namespace
