// The study's summary and JSON: its figures in mm against the same
// figures in % of the period, over a pitch that is not the default.
#include <gtest/gtest.h>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include "studytext.h"

namespace {

// A thousand trials whose peak-to-peak runs 0.005 ... 5 % of the period.
TStudyResult HandMadeResult()
{
  TStudyResult result;
  result.Study.Nominal.Pitch = 0.12;
  result.Study.Nominal.Resolution = 0.001;
  result.Study.Trials = 1000;
  result.Study.LimitPercent = 2.0;
  for (int i = 1; i <= 1000; ++i) {
    TTrialFigures figures;
    figures.PeakToPeak = 0.005 * i;
    figures.MaxAbs = 0.003 * i;
    result.Figures.push_back(figures);
  }
  ComputeResultStatistics(result);
  return result;
}

// The numbers after the label on the summary's line that starts with it.
std::vector<double> RowNumbers(const QByteArray &Text, const QString &Label)
{
  std::vector<double> numbers;
  for (const QString &line : QString::fromUtf8(Text).split('\n'))
    if (line.startsWith("  " + Label))
      for (const QString &word : line.mid(Label.size() + 2).split(' ', Qt::SkipEmptyParts))
        numbers.push_back(word.toDouble());
  return numbers;
}

}  // namespace

TEST(MonteCarloTextTest, FiguresInMmArePercentOfThePitch)
{
  const TStudyResult result = HandMadeResult();
  const QJsonObject root = QJsonDocument::fromJson(StudyJson(result)).object();
  const QByteArray text = StudySummaryText(result);
  // By hand: nearest ranks 500, 900, 990, 999 and 1000 of the thousand,
  // in % of the period and in mm of the 0.12 mm pitch.
  const struct
  {
    const char *Key, *Row;
    double Expected[5];
  } figures[] = {
      {"peak_to_peak_percent_period", "Peak-to-peak (% period)", {2.5, 4.5, 4.95, 4.995, 5}},
      {"peak_to_peak_mm", "Peak-to-peak (mm)", {0.003, 0.0054, 0.00594, 0.005994, 0.006}},
      {"max_abs_percent_period", "Largest magnitude (% period)", {1.5, 2.7, 2.97, 2.997, 3}},
      {"max_abs_mm", "Largest magnitude (mm)", {0.0018, 0.00324, 0.003564, 0.0035964, 0.0036}}};
  const char *const keys[] = {"p50", "p90", "p99", "p999", "max"};
  for (const auto &f : figures) {
    const std::vector<double> row = RowNumbers(text, f.Row);
    ASSERT_EQ(row.size(), 5u) << f.Row;
    for (int k = 0; k < 5; ++k) {
      EXPECT_NEAR(root[f.Key][keys[k]].toDouble(), f.Expected[k], 1e-12) << f.Key << ' ' << keys[k];
      // Six significant digits in the text.
      EXPECT_NEAR(row[k], f.Expected[k], 1e-6 * f.Expected[k]) << f.Row << ' ' << keys[k];
    }
  }
  EXPECT_NEAR(root["limit_mm"].toDouble(), 0.0024, 1e-15);
  EXPECT_TRUE(text.contains("2 % of the period (0.0024 mm)")) << text.constData();
}
