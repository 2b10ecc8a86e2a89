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
  // By hand: the largest peak-to-peak, 5 % of 0.12 mm, and the limit, 2 %.
  EXPECT_NEAR(root["peak_to_peak_mm"]["max"].toDouble(), 0.006, 1e-15);
  EXPECT_NEAR(root["max_abs_mm"]["max"].toDouble(), 0.0036, 1e-15);
  EXPECT_NEAR(root["limit_mm"].toDouble(), 0.0024, 1e-15);
  // Nearest ranks 500, 900, 990, 999 and 1000 of the thousand.
  const double ranks[] = {2.5, 4.5, 4.95, 4.995, 5.0};
  const char *const keys[] = {"p50", "p90", "p99", "p999", "max"};
  for (int k = 0; k < 5; ++k)
    EXPECT_NEAR(root["peak_to_peak_percent_period"][keys[k]].toDouble(), ranks[k], 1e-12)
        << keys[k];
  for (const char *figure : {"peak_to_peak", "max_abs"})
    for (const char *key : {"p50", "p90", "p99", "p999", "max"}) {
      const double percent = root[QString(figure) + "_percent_period"][key].toDouble();
      EXPECT_GT(percent, 0.0);
      EXPECT_NEAR(root[QString(figure) + "_mm"][key].toDouble(), percent * 0.12 / 100.0, 1e-15)
          << figure << ' ' << key;
    }

  const QByteArray text = StudySummaryText(result);
  for (const char *figure : {"Peak-to-peak", "Largest magnitude"}) {
    const std::vector<double> percent = RowNumbers(text, QString(figure) + " (% period)");
    const std::vector<double> mm = RowNumbers(text, QString(figure) + " (mm)");
    ASSERT_EQ(percent.size(), 5u) << figure;
    ASSERT_EQ(mm.size(), 5u) << figure;
    for (int i = 0; i < 5; ++i)
      // Six significant digits either way.
      EXPECT_NEAR(mm[i] / (percent[i] * 0.12 / 100.0), 1.0, 1e-5) << figure << ' ' << i;
  }
  EXPECT_TRUE(text.contains("2 % of the period (0.0024 mm)")) << text.constData();
}
