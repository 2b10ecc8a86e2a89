// Sweeps of one channel parameter: one CSV row per evenly spaced value.
#include <gtest/gtest.h>
#include <QBuffer>
#include <QList>
#include <algorithm>

#include "reportprocess.h"
#include "sweeptext.h"

TEST(ReportSweepTest, OffsetSweepRowsFollowTheOffsetAndFlagTheCountError)
{
  const TReportRun run = RunReportProgram({"--sweep", "offset-a=0:0.04:5"});
  ExpectSuccess(run);
  const QList<QList<QByteArray>> rows = CsvRows(run.Out);
  ASSERT_EQ(rows.size(), 1 + 5);
  EXPECT_EQ(rows[0].join(','),
            "offset-a,count_error,interpolation_error_pp_mm,interpolation_error_max_abs_mm,"
            "interpolation_error_pp_percent,interpolation_error_max_abs_percent,harmonic1_mm,"
            "harmonic2_mm,table_error_pp_mm");
  const char *values[] = {"0", "0.01", "0.02", "0.03", "0.04"};
  for (int i = 0; i < 5; ++i) {
    const QList<QByteArray> &row = rows[i + 1];
    ASSERT_EQ(row.size(), 9);
    EXPECT_EQ(row[0], values[i]);
    EXPECT_EQ(row[1], "0");
    // Harmonic 1 is about the offset in radians: 0.01 rad is
    // 0.01 / 2 pi * 0.040 mm = 6.3662e-5 mm per step, worked by hand.
    const double h1 = row[6].toDouble();
    if (i == 0)
      EXPECT_LT(h1, 1e-12);
    else
      EXPECT_NEAR(h1, i * 6.3662e-5, 0.1 * i * 6.3662e-5) << i;
    EXPECT_LT(row[7].toDouble(), 0.1 * h1 + 1e-12) << i;  // harmonic 2 stays small
    // The max-abs in % is the mm figure over the 0.040 mm period.
    EXPECT_NEAR(row[5].toDouble(), row[3].toDouble() / 0.040 * 100, 1e-4) << i;
    // An ideal table spans 4 of the 5 samples of a count: 0.004 mm; the
    // offset only widens it.
    EXPECT_GE(row[8].toDouble(), 0.004 - 1e-12) << i;
  }

  // An offset of 1 holds channel A at or above zero, so the counter
  // cannot pass a full turn: only that row fails, and the sweep exits 0.
  const TReportRun clipped = RunReportProgram({"--sweep", "offset-a=0:1:3", "--pitch", "0.120"});
  EXPECT_EQ(clipped.ExitCode, 0);
  const QList<QList<QByteArray>> flagged = CsvRows(clipped.Out);
  ASSERT_EQ(flagged.size(), 4);
  EXPECT_EQ(flagged[1][0] + flagged[1][1], "00");
  EXPECT_EQ(flagged[2][0] + flagged[2][1], "0.50");
  EXPECT_EQ(flagged[3][0] + flagged[3][1], "11");
}

TEST(ReportSweepTest, TablePeakToPeakSpansBothPasses)
{
  // A negative offset A with B's phase off: the return pass reaches lower
  // than the forward one, so the table's span needs both.
  TEncoderSetup base;
  base.Phase[1] = 0.1;
  TSweep sweep;
  sweep.Parameter = &SetupParameter("offset-a");
  sweep.From = -0.2;
  sweep.To = 0.05;
  sweep.Steps = 3;
  const std::vector<TEvaluationSummary> summaries = RunSweep(base, sweep);
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  WriteSweep(buffer, sweep, summaries);
  const QList<QList<QByteArray>> rows = CsvRows(buffer.data());
  ASSERT_EQ(rows.size(), 1 + 3);
  int extended = 0, narrower_return = 0;
  for (int i = 0; i < 3; ++i) {
    TEncoderSetup setup = base;
    setup.Offset[0] = sweep.Value(i);
    // The span straight from the table's error column, both passes.
    const TEvaluation evaluation = Evaluate(setup);
    const auto [low, high] =
        std::minmax_element(evaluation.Points.begin(), evaluation.Points.end(),
                            [](const TVector2 &a, const TVector2 &b) { return a.y < b.y; });
    const double span = high->y - low->y;
    const TEvaluationSummary &s = summaries[i];
    extended += s.Return.Min < s.Forward.Min - 1e-9 || s.Return.Max > s.Forward.Max + 1e-9;
    EXPECT_NEAR(s.TablePeakToPeak(), span, 1e-12) << i;
    EXPECT_NEAR(rows[i + 1][8].toDouble() / span, 1.0, 1e-5) << i;
    // Each pass on its own half of the points, the forward one first.
    const auto middle = evaluation.Points.begin() + evaluation.Points.size() / 2;
    const auto [return_low, return_high] =
        std::minmax_element(middle, evaluation.Points.end(),
                            [](const TVector2 &a, const TVector2 &b) { return a.y < b.y; });
    EXPECT_EQ(s.Return.Min, return_low->y) << i;
    EXPECT_EQ(s.Return.Max, return_high->y) << i;
    narrower_return += s.Return.Max < s.Forward.Max - 1e-9 || s.Return.Min > s.Forward.Min + 1e-9;
    // Harmonics 1 and 2 in their columns, in mm.
    EXPECT_NEAR(rows[i + 1][6].toDouble() / s.InMm(s.Error.Harmonics[0].Amplitude), 1.0, 1e-5);
    EXPECT_NEAR(rows[i + 1][7].toDouble() / s.InMm(s.Error.Harmonics[1].Amplitude), 1.0, 1e-5);
  }
  EXPECT_GE(extended, 2);
  // And one where the forward pass reaches further than the return.
  EXPECT_GE(narrower_return, 1);
}
