// The interpolation error, its harmonics and their first-order estimates,
// and the summary and JSON that carry them.
#include <gtest/gtest.h>
#include <QJsonArray>
#include <QJsonObject>
#include <cmath>

#include "angles.h"
#include "encodersetup.h"
#include "interpolationerror.h"
#include "reportprocess.h"

namespace {

TInterpolationError ErrorOf(const TEncoderSetup &Setup)
{
  return ComputeInterpolationError(Setup.Channel(0), Setup.Channel(1));
}

void ExpectWithinTenPercent(double Computed, double Expected, const char *What)
{
  EXPECT_NEAR(Computed, Expected, 0.1 * Expected) << What;
}

}  // namespace

TEST(ReportSummaryTest, IdealChannelsHaveNoInterpolationError)
{
  // Zero but for the interpolator's guard: at theta = pi/2 and 3 pi/2 it
  // replaces a cosine below 1e-10 by 1e-10, an angle error of 1e-10 rad.
  const TInterpolationError error = ErrorOf(TEncoderSetup());
  EXPECT_LE(error.PeakToPeak, 2.1e-10);
  EXPECT_LE(error.MaxAbs, 1.1e-10);
  EXPECT_LT(std::fabs(error.Mean), 1e-12);
  EXPECT_LT(error.Rms, 1e-11);
  for (const THarmonic &harmonic : error.Harmonics)
    EXPECT_LT(harmonic.Amplitude, 1e-12);
}

TEST(ReportSummaryTest, LargeClippedDistortionMatchesAnIndependentComputation)
{
  // Expected values from a separate Python computation of the same
  // definition (math.atan2 taken modulo 2 pi, clipping to +-1, wrapping
  // into (-pi, pi], a direct sum for each harmonic), gain A 1.3 clipping.
  // The summary's rows, in rad to six digits.
  const TReportRun run =
      RunReportProgram({"--format", "summary", "--gain-a", "1.3", "--gain-b", "0.9", "--offset-a",
                        "0.05", "--offset-b", "0.2", "--phase-a", "0.1", "--phase-b", "-0.3"});
  const QString text = QString::fromUtf8(run.Out).simplified();
  for (const char *row : {"Peak-to-peak 0.833762 ", "Largest magnitude 0.543838 ",
                          "Mean (bias) -0.0796917 ", "RMS 0.269712 "})
    EXPECT_TRUE(text.contains(row)) << row;
}

// A channel the limit at +-1 clips is named with the value it would
// reach, worked by hand: |offset| + gain, and with a third harmonic of
// phase pi the waveform's peak sin x - 0.1 sin 3x = 1.1 at x = pi / 2
// (A: 0.95 * 1.1; B: 0.05 + 1.1). On standard error, in the JSON and in
// the summary; a channel that stays inside says nothing.
TEST(ReportSummaryTest, ChannelsTheLimitClipsAreNamedWithTheValueTheyWouldReach)
{
  const struct
  {
    QStringList Arguments;
    QStringList Warnings;
  } cases[] = {
      {{"--gain-b", "1.02", "--phase-b", "0.02"},
       {"channel B (COS) would reach 1.02: the simulation clips it at +-1"}},
      {{"--harmonic3", "0.1", "--harmonic3-phase", "3.141592653589793", "--gain-a", "0.95",
        "--offset-b", "-0.05"},
       {"channel A (SIN) would reach 1.045: the simulation clips it at +-1",
        "channel B (COS) would reach 1.15: the simulation clips it at +-1"}},
      {{"--gain-b", "0.98", "--offset-b", "0.019"}, {}},
  };
  for (const auto &c : cases) {
    const TReportRun run = RunReportProgram(c.Arguments + QStringList{"--format", "summary"});
    QString err;
    for (const QString &warning : c.Warnings)
      err += "vantrel-report: warning: " + warning + "\n";
    EXPECT_EQ(QString::fromUtf8(run.Err), err);
    EXPECT_EQ(run.Out.contains("\nWarnings\n  " + c.Warnings.join("\n  ").toUtf8() + "\n"),
              !c.Warnings.isEmpty());
    QStringList json;
    for (const QJsonValue &warning : ReportJson(c.Arguments)["warnings"].toArray())
      json << warning.toString();
    EXPECT_EQ(json, c.Warnings);
  }
}

TEST(ReportSummaryTest, JsonCarriesTheSetupCounterPassesAndErrorInEveryUnit)
{
  const QJsonObject json = ReportJson(
      {"--pitch", "0.120", "--resolution", "0.0010", "--offset-a", "0.01", "--gain-b", "1.01"}, 0);
  EXPECT_EQ(json["pitch"].toDouble(), 0.120);
  EXPECT_EQ(json["resolution"].toDouble(), 0.0010);
  EXPECT_EQ(json["count"].toInt(), 120);
  EXPECT_FALSE(json["count_error"].toBool(true));
  // An ideal counter ends the forward pass one count short of the pitch.
  EXPECT_NEAR(json["counter_forward"].toDouble(), 0.119, 1e-12);
  EXPECT_NEAR(json["counter_return"].toDouble(), 0.0, 1e-12);
  EXPECT_EQ(json["channels"]["a"]["offset"].toDouble(), 0.01);
  EXPECT_EQ(json["channels"]["b"]["gain"].toDouble(), 1.01);
  EXPECT_EQ(json["channels"]["b"]["phase"].toDouble(), 0.0);
  for (const char *pass : {"forward", "return"}) {
    const QJsonObject p = json["passes"][pass].toObject();
    EXPECT_NEAR(p["peak_to_peak"].toDouble(), p["max"].toDouble() - p["min"].toDouble(), 1e-15);
    // The table's error is within a count and a half of zero.
    EXPECT_LT(p["max"].toDouble(), 0.0015) << pass;
    EXPECT_GT(p["min"].toDouble(), -0.0015) << pass;
  }
  for (const char *quantity : {"peak_to_peak", "max_abs", "mean", "rms"}) {
    const QJsonObject units = json["interpolation_error"][quantity].toObject();
    const double rad = units["rad"].toDouble();
    EXPECT_NEAR(units["deg"].toDouble(), rad * 180 / 3.141592653589793, 1e-12) << quantity;
    EXPECT_NEAR(units["percent_period"].toDouble(), rad / TwoPi * 100, 1e-12) << quantity;
    EXPECT_NEAR(units["counts"].toDouble(), rad / TwoPi * 120, 1e-12) << quantity;
    EXPECT_NEAR(units["mm"].toDouble(), rad / TwoPi * 0.120, 1e-15) << quantity;
  }
  const QJsonArray harmonics = json["harmonics"].toArray();
  ASSERT_EQ(harmonics.size(), 4);
  for (int h = 0; h < 4; ++h)
    EXPECT_EQ(harmonics[h]["order"].toInt(), h + 1);
  // Hand estimates: 0.01 rad of harmonic 1, 0.01 / 2.01 of harmonic 2.
  EXPECT_NEAR(harmonics[0]["estimate_rad"].toDouble(), 0.01, 1e-15);
  EXPECT_NEAR(harmonics[1]["estimate_rad"].toDouble(), 0.01 / 2.01, 1e-15);
  ExpectWithinTenPercent(harmonics[0]["amplitude_rad"].toDouble(), 0.01, "json harmonic 1");
  ExpectWithinTenPercent(harmonics[1]["amplitude_rad"].toDouble(), 0.01 / 2.01, "json h2");
  EXPECT_EQ(harmonics[2]["estimate_rad"].toDouble(-1), 0.0);

  // The summary's harmonic 1 row: computed %, mm, phase, then the
  // estimate's 0.01 rad as % of the period and as mm of the 0.120 pitch.
  const TReportRun text =
      RunReportProgram({"--pitch", "0.120", "--resolution", "0.0010", "--offset-a", "0.01",
                        "--gain-b", "1.01", "--format", "summary"});
  const int row = text.Out.indexOf("\n  1    ");
  ASSERT_GE(row, 0) << text.Out.constData();
  const QList<QByteArray> numbers =
      text.Out.mid(row + 1, text.Out.indexOf('\n', row + 1) - row - 1).simplified().split(' ');
  ASSERT_EQ(numbers.size(), 7);
  EXPECT_NEAR(numbers[4].toDouble(), 0.01 / TwoPi * 100, 1e-5);
  EXPECT_NEAR(numbers[5].toDouble(), 0.01 / TwoPi * 0.120, 1e-9);
}

TEST(ReportSummaryTest, CounterThatDoesNotReturnExitsOneWithTheOutputComplete)
{
  // An offset of 1 keeps channel A at or above zero: the angle never
  // passes a full turn, so the counter cannot reach the pitch.
  const QJsonObject json = ReportJson({"--offset-a", "1"}, 1);
  EXPECT_TRUE(json["count_error"].toBool(false));
  EXPECT_EQ(json["harmonics"].toArray().size(), 4);

  const TReportRun run = RunReportProgram({"--format", "summary", "--offset-a", "1"});
  EXPECT_EQ(run.ExitCode, 1);
  // Offset 1 and gain 1 would reach 2: clipped, and said so first.
  EXPECT_EQ(run.Err,
            "vantrel-report: warning: channel A (SIN) would reach 2: the simulation clips it at "
            "+-1\nvantrel-report: Scale count not zero on return\n");
  EXPECT_TRUE(run.Out.contains("Verdict                       Scale count not zero on return"));

  const TReportRun good = RunReportProgram({"--format", "summary"});
  ExpectSuccess(good);
  // Start setup: count 8, forward ends at 7 counts of 0.005 mm.
  EXPECT_TRUE(good.Out.contains("Interpolator count                      8\n"));
  EXPECT_TRUE(good.Out.contains("Counter after forward pass          0.035 mm (7 counts)\n"));
  EXPECT_TRUE(good.Out.contains("Verdict                       counter returned to zero\n"));
}

TEST(ReportSummaryTest, EstimatesOfAllSixDistortionsAtOnce)
{
  // By hand from the first-order error
  //   (oA / gA) cos t - (oB / gB) sin t + e sin 2t + q cos 2t + m
  // with e = (gA - gB) / (gA + gB), q = (pA - pB) / 2, m = (pA + pB) / 2:
  // here oA / gA = 0.025 and oB / gB = -0.025, e = 0.2, q = 0.03, m = 0.01.
  const TEncoderSetup setup{0.040, 0.005, {1.2, 0.8}, {0.03, -0.02}, {0.04, -0.02}, {}};
  const TFirstOrderEstimate estimate = EstimateInterpolationError(setup);
  // 0.025 (cos t + sin t) = 0.025 sqrt 2 cos(t - pi / 4).
  EXPECT_NEAR(estimate.Harmonics[0].Amplitude, 0.035355339059327376, 1e-15);
  EXPECT_NEAR(estimate.Harmonics[0].Phase, -TwoPi / 8, 1e-15);
  // 0.2 sin 2t + 0.03 cos 2t = R cos(2t + phase), R = sqrt(0.0409),
  // phase = atan2(-0.2, 0.03) (Python: -1.4219063791853994).
  EXPECT_NEAR(estimate.Harmonics[1].Amplitude, 0.20223748416156687, 1e-15);
  EXPECT_NEAR(estimate.Harmonics[1].Phase, -1.4219063791853994, 1e-15);
  EXPECT_NEAR(estimate.Mean, 0.01, 1e-15);

  // Small distortions of every kind: the computed error follows the
  // estimates in amplitude and in phase, signs included.
  const TEncoderSetup small{0.040, 0.005, {1.01, 0.995}, {0.004, -0.006}, {0.006, -0.01}, {}};
  const TFirstOrderEstimate expected = EstimateInterpolationError(small);
  const TInterpolationError computed = ErrorOf(small);
  for (int h = 0; h < 2; ++h) {
    ExpectWithinTenPercent(computed.Harmonics[h].Amplitude, expected.Harmonics[h].Amplitude,
                           h == 0 ? "harmonic 1" : "harmonic 2");
    EXPECT_NEAR(computed.Harmonics[h].Phase, expected.Harmonics[h].Phase, 0.05) << h + 1;
  }
  EXPECT_NEAR(computed.Mean, expected.Mean, 0.1 * std::fabs(expected.Mean));
}
