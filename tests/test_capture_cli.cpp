// vantrel-report --capture as a user runs it: summary, JSON and CSV of a
// capture, standard input, warnings, and every refused capture.
#include <gtest/gtest.h>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <cmath>

#include "angles.h"
#include "reportprocess.h"
#include "testhelpers.h"

namespace {

// Rows "time,A,B" with A = 0.06 + 0.5 sin t, B = -0.05 + 0.45 cos t over
// Periods, evenly spaced; the first row is at t = 0.
QByteArray Capture(double Periods, int Rows)
{
  QByteArray text = "Time,CH1,CH2\r\ns,V,V\r\n";
  for (int i = 0; i < Rows; ++i) {
    const double t = TwoPi * Periods * i / Rows;
    text += QByteArray::number(i * 1e-6) + ',' +
            QByteArray::number(0.06 + 0.5 * std::sin(t), 'g', 17) + ',' +
            QByteArray::number(-0.05 + 0.45 * std::cos(t), 'g', 17) + "\r\n";
  }
  return text;
}

}  // namespace

TEST(CaptureCliTest, JsonSummaryAndCsvOfAnOscilloscopeExport)
{
  QTemporaryDir dir;
  const QString path = WriteTestFile(dir, "scope.csv", Capture(2.0, 2000));
  const TReportRun json = RunReportProgram({"--capture", path, "--format", "json"});
  ExpectSuccess(json);
  const QJsonObject root = JsonOf(json.Out);
  EXPECT_EQ(root["rows"].toInt(), 2000);
  EXPECT_EQ(root["header_lines"].toInt(), 2);
  EXPECT_EQ(root["bad_rows"].toInt(), 0);
  EXPECT_NEAR(root["periods"].toDouble(), 2.0 - 2.0 / 2000, 1e-9);
  const QJsonObject ellipse = root["ellipse"].toObject();
  EXPECT_NEAR(ellipse["offset_a"].toDouble(), 0.06, 1e-9);
  EXPECT_NEAR(ellipse["offset_b"].toDouble(), -0.05, 1e-9);
  EXPECT_NEAR(ellipse["amplitude_a"].toDouble(), 0.5, 1e-9);
  EXPECT_NEAR(ellipse["amplitude_b"].toDouble(), 0.45, 1e-9);
  EXPECT_NEAR(ellipse["phase_rad"].toDouble(), 0.0, 1e-9);
  // By hand: the larger |offset| + amplitude is 0.06 + 0.5 = 0.56.
  const QJsonObject model = root["model"].toObject();
  EXPECT_NEAR(model["offset_b"].toDouble(), -0.05 / 0.56, 1e-9);
  const QJsonObject error = root["measured_error"].toObject();
  for (const char *key : {"peak_to_peak", "max_abs", "mean", "rms"}) {
    EXPECT_TRUE(error[key].toObject()["mm"].isNull()) << key;
    EXPECT_TRUE(error[key].toObject()["counts"].isNull()) << key;
  }
  EXPECT_EQ(error["harmonics"].toArray().size(), 4);
  EXPECT_LT(root["fit_residual_percent"].toDouble(), 1e-9);
  // Two periods at an even speed, a row a microsecond: by hand 1.999
  // periods forward in 1999 us, 1000 Hz throughout.
  const QJsonObject motion = root["motion"].toObject();
  EXPECT_EQ(motion["direction"].toString(), "forward");
  EXPECT_EQ(motion["reversals"].toInt(), 0);
  EXPECT_NEAR(motion["travel_periods"].toDouble(), 1.999, 1e-9);
  EXPECT_NEAR(motion["duration_s"].toDouble(), 1999e-6, 1e-15);
  EXPECT_NEAR(motion["frequency_hz"]["mean"].toDouble(), 1000.0, 1e-6);
  EXPECT_NEAR(motion["frequency_hz"]["max"].toDouble(), 1000.0, 1e-6);
  EXPECT_TRUE(motion["speed_mm_s"].isNull());
  EXPECT_EQ(motion["time_column"].toInt(), 1);
  // 1000 Hz over a pitch of 0.02 mm is 20 mm/s.
  EXPECT_TRUE(RunReportProgram({"--capture", path, "--pitch", "0.02", "--time-column", "time"})
                  .Out.contains("\n  Speed mean, max (mm/s)                 20           20\n"));
  // The simulation of those signals (its error against the measured one
  // in test_capture_analysis).
  EXPECT_NEAR(root["simulation"]["channels"]["a"]["gain"].toDouble(), 0.5 / 0.56, 1e-9);

  // The summary carries the command that simulates the fitted signals: by
  // hand 0.5, 0.45, 0.06 and -0.05 over 0.56, and no pitch, since none was
  // given.
  const TReportRun summary = RunReportProgram({"--capture", path, "--resolution", "0.001"});
  EXPECT_EQ(summary.ExitCode, 0);
  const int at = summary.Out.indexOf("\n  vantrel-report --");
  const QByteArray command = summary.Out.mid(at, summary.Out.indexOf('\n', at + 1) - at);
  for (const char *word :
       {"vantrel-report --resolution=0.001 --gain-a=0.8928571428", " --gain-b=0.8035714285",
        " --offset-a=0.1071428571", " --offset-b=-0.0892857142", " --phase-b=0 "})
    EXPECT_TRUE(command.contains(word)) << word << summary.Out.constData();
  EXPECT_TRUE(summary.Out.contains("\nSimulation of the model parameters\n"));

  // CSV from standard input, with the error in mm for a pitch of 0.02.
  const TReportRun csv =
      RunReportProgram({"--capture", "-", "--format", "csv", "--pitch", "0.02"}, ReadFile(path));
  ASSERT_EQ(csv.ExitCode, 0) << csv.Err.constData();
  const QList<QByteArray> lines = csv.Out.split('\n');
  ASSERT_EQ(lines.size(), 2000 + 2);
  EXPECT_EQ(lines[0], "row,a,b,angle_raw,angle_corrected,error_rad,error_mm");
  // Line 3 is t = 0: A = 0.06, B = 0.4. By hand the raw angle is
  // atan((0.06 / 0.56) / (0.4 / 0.56)) = atan(0.15) = 0.14889..., the
  // corrected angle 0 and the error the raw angle, over 2 pi times 0.02 mm.
  const QList<QByteArray> row = lines[1].split(',');
  ASSERT_EQ(row.size(), 7);
  EXPECT_EQ(row[0], "3");
  EXPECT_EQ(row[1], "0.059999999999999998");
  EXPECT_NEAR(row[3].toDouble(), std::atan(0.06 / 0.4), 1e-12);
  EXPECT_NEAR(std::remainder(row[4].toDouble(), TwoPi), 0.0, 1e-9);
  EXPECT_NEAR(row[5].toDouble(), std::atan(0.06 / 0.4), 1e-9);
  EXPECT_NEAR(row[6].toDouble(), std::atan(0.06 / 0.4) / TwoPi * 0.02, 1e-12);
  // Where the corrected angle has turned past 2 pi and the raw one not yet,
  // or the reverse, the error is still the small difference.
  double largest = 0.0;
  for (int i = 1; i <= 2000; ++i)
    largest = std::max(largest, std::fabs(lines[i].split(',')[5].toDouble()));
  EXPECT_LT(largest, 0.5);
}

// The correction's coefficients in the model's units and, beside them, in
// the capture's: clean.csv was made with offsets 0.05, -0.03 and
// amplitudes 1, 0.95, and its model divides them by 1.05.
TEST(CaptureCliTest, CorrectionCoefficientsAreGivenInTheModelsAndTheCapturesUnits)
{
  const TReportRun run = RunReportProgram({"--capture", ExampleFile("clean.csv")});
  ExpectSuccess(run);
  const QString text = QString::fromUtf8(run.Out).simplified();
  for (const char *line :
       {"Coefficients, model units A B A capture B capture",
        "Offset 0.047619 -0.0285714 0.05 -0.03 ", "Amplitude 0.952381 0.904762 1 0.95 "})
    EXPECT_TRUE(text.contains(line)) << line;
  EXPECT_TRUE(RunReportProgram({"--format", "summary"})
                  .Out.contains("  Coefficients, model units               A            B\n"));
}

TEST(CaptureCliTest, CoverageUnderAPeriodAndClippingAreWarnings)
{
  QTemporaryDir dir;
  const QString path = WriteTestFile(dir, "half.csv", Capture(0.5, 200));
  const TReportRun run = RunReportProgram({"--capture", path, "--amplitude", "0.52"});
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_FALSE(run.Out.isEmpty());
  const QList<QByteArray> warnings = run.Err.trimmed().split('\n');
  ASSERT_EQ(warnings.size(), 2) << run.Err.constData();
  EXPECT_TRUE(warnings[0].startsWith("vantrel-report: warning: the samples cover only 0.4"));
  EXPECT_TRUE(warnings[1].contains("channel A reaches 1.07692 of --amplitude"));
}

TEST(CaptureCliTest, RefusedCapturesExitTwoWithOneLineAndTouchNoFile)
{
  QTemporaryDir dir;
  const QString kept = WriteTestFile(dir, "kept.txt", "must stay\n");
  QByteArray line_capture, constant, bad_row = Capture(1.0, 100);
  for (int i = 0; i < 100; ++i) {
    line_capture += QByteArray::number(i) + ',' + QByteArray::number(2 * i + 1) + '\n';
    constant +=
        "7," + QByteArray::number(std::sin(i)) + ',' + QByteArray::number(std::cos(i)) + '\n';
  }
  bad_row.replace("\r\n5e-05,", "\r\n5e-05,x");
  QByteArray still = Capture(1.0, 100);
  still.replace("\r\n5e-05,", "\r\n4.9e-05,");
  const TRefusalCase cases[] = {
      {{"--capture", dir.filePath("missing.csv")}, "missing.csv: no such file"},
      {{"--capture", dir.path()}, "directory"},
      {{"--capture", WriteTestFile(dir, "empty.csv", "")}, "empty.csv is empty"},
      {{"--capture", WriteTestFile(dir, "header.csv", "Time,A,B\ns,V,V\n")}, "only 2 header lines"},
      {{"--capture", WriteTestFile(dir, "few.csv", Capture(1.0, 15))}, "only 15 data rows"},
      {{"--capture", WriteTestFile(dir, "line.csv", line_capture)},
       "line.csv: the samples lie on a line"},
      {{"--capture", WriteTestFile(dir, "arc.csv", Capture(0.2, 100))}, "0.198 of a signal period"},
      {{"--capture", WriteTestFile(dir, "k.csv", constant), "--columns", "1,2"},
       "k.csv: channel A (column 1) is constant: the samples trace no ellipse; choose the columns "
       "with --columns"},
      {{"--capture", WriteTestFile(dir, "four.csv", "t,SIN,I,COS\n0,1,5,2\n")},
       "four.csv has 4 columns (1 t, 2 SIN, 3 I, 4 COS): say which hold channels A and B, e.g. "
       "--columns 2,4"},
      {{"--capture", WriteTestFile(dir, "bad.csv", bad_row)}, "bad.csv:53: column 2 is 'x0."},
      {{"--capture", WriteTestFile(dir, "two.csv", Capture(1.0, 100)), "--columns", "2,4"},
       "two.csv:3: column 4 does not exist: the data has 3 columns"},
      {{"--capture", WriteTestFile(dir, "still.csv", still), "--time-column", "1"},
       "still.csv:53: column 1 holds the time '4.9e-05', no later than the row before's"},
      {{"--capture", dir.filePath("still.csv"), "--time-column", "ch1"},
       "still.csv: column 2 holds channel A, not the time"},
      {{"--capture", kept, "--time-column", "0"}, "--time-column needs a column"},
      {{"--capture", kept, "--columns", "2"}, "--columns"},
      {{"--capture", kept, "--columns", "3,3"}, "--columns"},
      {{"--capture", kept, "--amplitude", "-1"}, "--amplitude"},
      {{"--capture", kept, "--zero", "2.5,x"}, "--zero needs the reference level V, or VA,VB"},
      {{"--capture", kept, "--zero", "1,2,3"}, "--zero needs"},
      {{"--capture", kept, "--zero", "nan"}, "--zero needs"},
      {{"--zero", "2.5"}, "--zero needs --capture"},
      {{"--decimal-comma"}, "--decimal-comma needs --capture"},
      {{"--capture", WriteTestFile(dir, "utf16.csv",
                                   QByteArray("\xFF\xFE"
                                              "1\0,\0"
                                              "2\0\n\0",
                                              10))},
       "utf16.csv is UTF-16; save it as UTF-8"},
      {{"--capture", kept, "--sweep", "gain-a=1:2:3"}, "--sweep"},
      {{"--capture", kept, "--format", "table"}, "table"},
      {{"--capture", kept, "--xy"}, "--xy"},
      {{"--capture", ""}, "--capture"},
      {{"--columns", "1,2"}, "needs --capture"},
  };
  for (const TRefusalCase &c : cases) {
    SCOPED_TRACE(qPrintable(c.Arguments.join(' ')));
    ExpectRefusal(RunReportProgram(QStringList{"--output", dir.filePath("out.json"), "--plot",
                                               dir.filePath("e.png")} +
                                   c.Arguments),
                  c.Says);
    EXPECT_EQ(ReadFile(kept), "must stay\n");
    EXPECT_FALSE(QFile::exists(dir.filePath("out.json")));
    EXPECT_FALSE(QFile::exists(dir.filePath("e.png")));
  }
  // --skip-bad-rows reads the same file, counting the row.
  const TReportRun skipped = RunReportProgram(
      {"--capture", dir.filePath("bad.csv"), "--skip-bad-rows", "--format", "json"});
  EXPECT_EQ(skipped.ExitCode, 0);
  EXPECT_EQ(JsonOf(skipped.Out)["bad_rows"].toInt(), 1);
}

TEST(CaptureCliTest, PlotsShowTheSamplesTheFittedEllipseAndTheError)
{
  QTemporaryDir dir;
  const QString path = WriteTestFile(dir, "c.csv", Capture(2.0, 500));
  const QString scope = dir.filePath("xy.png"), plot = dir.filePath("error.svg");
  const TReportRun run = RunReportProgram({"--capture", path, "--scope", scope, "--plot", plot,
                                           "--size", "400x300", "--pitch", "0.02"});
  ASSERT_EQ(run.ExitCode, 0) << run.Err.constData();
  const QImage image(scope);
  ASSERT_EQ(image.size(), QSize(400, 300));
  // The samples' light blue crosses and the ellipse's red line.
  EXPECT_GT(Find(image, QColor(150, 160, 230)).Count, 500);
  EXPECT_GT(Find(image, QColor(200, 0, 0)).Count, 100);
  const QByteArray svg = ReadFile(plot);
  EXPECT_TRUE(svg.contains("<svg"));
  EXPECT_TRUE(svg.contains("Measured error (mm)"));
}

TEST(CaptureCliTest, AReferenceLevelTheSignalsDoNotEncloseIsSaidAndWithholdsTheError)
{
  const QString counts = ExampleFile("adc12-counts.csv");
  // Counts about mid-scale without their reference: the pair never turns
  // round the zero.
  const TReportRun raw = RunReportProgram(
      {"--capture", counts, "--format", "json", "--pitch", "0.04", "--resolution", "0.001"});
  EXPECT_EQ(raw.ExitCode, 1);
  // The centre by hand: 2048 + 0.05 and 2048 - 0.03 of 1707 counts.
  EXPECT_TRUE(raw.Err.startsWith("vantrel-report: warning: the signals' centre (2133.3"))
      << raw.Err.constData();
  EXPECT_TRUE(raw.Err.contains(", 1996.8) lies outside their Lissajous figure"));
  EXPECT_TRUE(raw.Err.endsWith("give the reference level with --zero\n"));
  EXPECT_EQ(raw.Err.count('\n'), 1);
  const QJsonObject json = JsonOf(raw.Out);
  const QJsonObject error = json["measured_error"].toObject();
  for (const char *key : {"peak_to_peak", "max_abs", "mean", "rms"})
    for (const char *unit : {"rad", "deg", "percent_period", "counts", "mm"})
      EXPECT_TRUE(error[key].toObject()[unit].isNull()) << key << unit;
  EXPECT_EQ(json["warnings"].toArray().size(), 1);
  const TReportRun summary = RunReportProgram({"--capture", counts});
  EXPECT_EQ(summary.ExitCode, 1);
  EXPECT_TRUE(summary.Out.simplified().contains("Mean (bias) - - - - - RMS - - - - -"))
      << summary.Out.constData();
  EXPECT_TRUE(summary.Out.contains("\nWarnings\n  the signals' centre"));

  // With --zero 2048 the same counts measure as the volts they were made
  // from: 2.855 % of the period peak-to-peak (examples/README.md).
  const TReportRun zeroed = RunReportProgram(
      {"--capture", counts, "--zero", "2048", "--format", "json", "--pitch", "0.04"});
  ExpectSuccess(zeroed);
  const QJsonObject measured = JsonOf(zeroed.Out);
  EXPECT_EQ(measured["zero"].toArray(), (QJsonArray{2048, 2048}));
  EXPECT_NEAR(measured["measured_error"]["peak_to_peak"]["percent_period"].toDouble(), 2.855, 1e-3);
  // Counts need a resolution besides the pitch.
  EXPECT_TRUE(measured["measured_error"]["peak_to_peak"]["counts"].isNull());
  EXPECT_FALSE(measured["measured_error"]["peak_to_peak"]["mm"].isNull());
}

TEST(CaptureCliTest, GlitchesClippingAndACutLineAreWarnedOnceEach)
{
  const TReportRun glitches =
      RunReportProgram({"--capture", ExampleFile("glitches.csv"), "--format", "json"});
  EXPECT_EQ(glitches.ExitCode, 0);
  EXPECT_EQ(glitches.Err,
            "vantrel-report: warning: 3 samples far off the fitted ellipse (lines 501, 1501, "
            "2501) are left out of the fit and the error\n");
  const QJsonObject json = JsonOf(glitches.Out);
  EXPECT_EQ(json["outliers"].toInt(), 3);
  EXPECT_EQ(json["measured_error"]["samples"].toInt(), 2997);

  const TReportRun clipped = RunReportProgram({"--capture", ExampleFile("clipped.csv")});
  EXPECT_EQ(clipped.ExitCode, 0);
  EXPECT_EQ(clipped.Err.count("of channel A sit at its"), 2) << clipped.Err.constData();
  EXPECT_TRUE(clipped.Err.contains("sit at its largest value 0.9: the signal is clipped"));
  EXPECT_TRUE(clipped.Out.simplified().contains("Clipped samples A, B 832, 0"))
      << clipped.Out.constData();

  const TReportRun cut = RunReportProgram({"--capture", ExampleFile("cut-short.csv")});
  EXPECT_EQ(cut.ExitCode, 0);
  EXPECT_EQ(cut.Err,
            "vantrel-report: warning: the last line has no line end: it was cut off and "
            "is left out\n");
  EXPECT_TRUE(cut.Out.simplified().startsWith("Capture ")) << cut.Out.constData();
  EXPECT_TRUE(cut.Out.simplified().contains("Rows read 2999 Header lines skipped 0"));
}

TEST(CaptureCliTest, LimitsJudgeTheFittedSignalsWithTheirUncertainty)
{
  // Offsets 4 % and -2 % of the amplitudes, B/A 0.9 (-10 %), phase
  // 0.01 rad = 0.573 deg, with noise for an uncertainty.
  QTemporaryDir dir;
  QProcess make;
  const TReportRun made =
      RunProcess(make, VANTREL_MAKECAPTURE_PROGRAM,
                 {"--amplitude-a", "0.5", "--amplitude-b", "0.45", "--offset-a", "0.02",
                  "--offset-b", "-0.009", "--phase", "0.01", "--noise", "0.002"});
  ASSERT_EQ(made.ExitCode, 0);
  const QString capture = WriteTestFile(dir, "c.csv", made.Out);
  const auto limits = [&](const QString &Entries) {
    return WriteTestFile(dir, "l.json",
                         "{\"name\": \"t\", \"limits\": [" + Entries.toUtf8() + "]}");
  };
  // Every figure within a 1 Vpp head's, but no time for the frequency.
  QJsonObject json = ReportJson({"--capture", capture, "--limits", "1vpp"}, 3);
  QStringList verdicts;
  for (const QJsonValue check : json["checks"].toArray())
    verdicts << check["verdict"].toString();
  EXPECT_EQ(verdicts.join(' '), "PASS PASS PASS PASS PASS PASS UNDECIDED");
  EXPECT_TRUE(json["checks"].toArray()[6].toObject()["value"].isNull());
  // A calibrated head's: the phase by its tightest band, 0.5 deg.
  json = ReportJson({"--capture", capture, "--limits", "calibration"}, 1);
  const QJsonArray checks = json["checks"].toArray();
  EXPECT_EQ(checks[0]["verdict"], "FAIL");
  EXPECT_NEAR(checks[0]["value"].toDouble(), 0.573, 3 * checks[0]["uncertainty"].toDouble());
  EXPECT_EQ(checks[0]["below_hz"].toDouble(), 1000.0);
  EXPECT_NEAR(checks[1]["value"].toDouble(), -10.0, 3 * checks[1]["uncertainty"].toDouble());
  EXPECT_NEAR(checks[2]["value"].toDouble(), 4.0, 3 * checks[2]["uncertainty"].toDouble());
  EXPECT_NEAR(checks[3]["value"].toDouble(), -2.0, 3 * checks[3]["uncertainty"].toDouble());
  EXPECT_GT(checks[2]["uncertainty"].toDouble(), 0.0);
  // 4 % on the bound is within 2u of the fit.
  const QString offset = "{\"name\": \"o\", \"quantity\": \"offset_a_percent\", \"low\": 3, ";
  const TReportRun pass =
      RunReportProgram({"--capture", capture, "--limits", limits(offset + "\"high\": 5}")});
  ExpectSuccess(pass);
  EXPECT_TRUE(pass.Out.simplified().contains(" 3 5 - PASS")) << pass.Out.constData();
  const TReportRun undecided = RunReportProgram(
      {"--capture", capture, "--limits", limits(offset + "\"high\": 4}"), "--format", "csv"});
  EXPECT_EQ(undecided.ExitCode, 3);
  EXPECT_EQ(undecided.Err, "vantrel-report: limits t: 0 of 1 checks pass, 0 fail, 1 undecided\n");
}
