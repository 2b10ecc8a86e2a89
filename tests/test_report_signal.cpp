// The signal options on the command line: the JSON's signal, correction
// and corrected error, sweeps of the signal, the study's harmonic
// tolerance and a capture's third harmonic.
#include <gtest/gtest.h>
#include <QJsonArray>
#include <QTemporaryDir>
#include <cmath>

#include "reportprocess.h"

namespace {

TEST(ReportSignalTest, JsonCarriesTheSignalTheCorrectionAndTheEstimates)
{
  QJsonObject root = ReportJson({});
  QJsonObject signal = root["signal"].toObject();
  EXPECT_EQ(signal["harmonic3"].toDouble(-1), 0.0);
  EXPECT_TRUE(signal["noise"].isNull() && signal["adc_bits"].isNull());
  EXPECT_TRUE(root["interpolation_error"].toObject()["rms_noise_estimate"].isNull());

  root = ReportJson({"--harmonic3", "0.015", "--harmonic3-phase", "0.3", "--noise", "0.002",
                     "--adc-bits", "12", "--seed", "4", "--offset-a", "0.01", "--gain-b", "0.98",
                     "--phase-a", "0.02"});
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

  // The seed reaches the noise.
  const QStringList noisy = {"--noise", "0.01", "--format", "csv", "--seed"};
  EXPECT_NE(RunReportProgram(noisy + QStringList{"8"}).Out,
            RunReportProgram(noisy + QStringList{"9"}).Out);
}

TEST(ReportSignalTest, HarmonicOptionOfOrderThreeIsTheThirdHarmonicsOwn)
{
  const QStringList setup = {"--gain-a", "0.95", "--offset-b", "0.02", "--format"};
  for (const char *format : {"table", "csv", "summary", "json"}) {
    const TReportRun own = RunReportProgram(
        setup + QStringList{format, "--harmonic3", "-0.02", "--harmonic3-phase", "0.7"});
    EXPECT_EQ(own.ExitCode, 0);
    EXPECT_EQ(RunReportProgram(setup + QStringList{format, "--harmonic", "3,-0.02,0.7"}).Out,
              own.Out)
        << format;
  }
  const QJsonArray harmonics = ReportJson({"--harmonic", "7,0.01", "--harmonic3", "0.02",
                                           "--harmonic", "2,-0.03,1.5"})["signal"]
                                   .toObject()["harmonics"]
                                   .toArray();
  ASSERT_EQ(harmonics.size(), 3);
  const double expected[3][3] = {{2, -0.03, 1.5}, {3, 0.02, 0.0}, {7, 0.01, 0.0}};
  for (int i = 0; i < 3; ++i) {
    const QJsonObject harmonic = harmonics[i].toObject();
    EXPECT_EQ(harmonic["order"].toInt(), expected[i][0]);
    EXPECT_EQ(harmonic["k"].toDouble(), expected[i][1]);
    EXPECT_EQ(harmonic["phase_rad"].toDouble(), expected[i][2]);
  }
}

TEST(ReportSignalTest, SweepOfTheHarmonicGrowsThePeakToPeakByTwiceK)
{
  const TReportRun run = RunReportProgram({"--sweep", "harmonic3=0:0.02:3"});
  EXPECT_EQ(run.ExitCode, 0);
  const QList<QList<QByteArray>> rows = CsvRows(run.Out);
  ASSERT_EQ(rows.size(), 4);
  EXPECT_TRUE(rows[0].join(',').startsWith("harmonic3,count_error,"));
  // Peak-to-peak 2 asin K in % of the period, for an otherwise ideal head.
  for (int i = 1; i < 4; ++i) {
    const double k = rows[i][0].toDouble();
    EXPECT_NEAR(rows[i][4].toDouble(), 2.0 * std::asin(k) / (2.0 * M_PI) * 100.0, 1e-5) << k;
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
  const QStringList study = {"--monte-carlo", "60",         "--tolerance", "harmonic3=0.02",
                             "--noise",       "0.01",       "--adc-bits",  "10",
                             "--quiet",       "--harmonic", "5,0.02,0.4",  "--tolerance",
                             "harmonic7=0.01"};
  const QByteArray whole = RunReportProgram(study + QStringList{"--format", "summary"}).Out;
  QTemporaryDir dir;
  const QByteArray merged = RunReportProgram(QStringList{"--merge", "--format", "summary"} +
                                             WriteShards(dir, study, {0, 1}, 2))
                                .Out;
  const auto worst = [](const QByteArray &Text) {
    const int start = Text.indexOf("--harmonic3=");
    return Text.mid(start, Text.indexOf('\n', start) - start);
  };
  EXPECT_TRUE(worst(whole).contains("--noise=0.01 --seed=") &&
              worst(whole).contains("--adc-bits=10") &&
              worst(whole).contains("--harmonic=5,0.02,0.4 --harmonic=7,"))
      << whole.constData();
  EXPECT_EQ(worst(merged), worst(whole));
}

TEST(ReportSignalTest, CaptureGivesBackTheThirdHarmonicItWasMadeWith)
{
  // examples/harmonic3.csv: tools/makecapture --harmonic3 0.03, phase 0.
  const QJsonObject root = ReportJson({"--capture", ExampleFile("harmonic3.csv")});
  const QJsonObject distortion = root["distortion"].toObject();
  EXPECT_NEAR(distortion["harmonic3"].toDouble(), 0.03, 0.03 * 0.05);
  EXPECT_NEAR(distortion["harmonic3_phase_rad"].toDouble(), 0.0, 0.05);
  EXPECT_NEAR(distortion["corrected_harmonic4_rad"].toDouble(), 0.03, 0.03 * 0.05);
}

}  // namespace
