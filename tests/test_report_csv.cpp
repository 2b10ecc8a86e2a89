// The report's CSV reads back to exactly the interpolator's points, and
// each CSV's numbers keep their layout.
#include <gtest/gtest.h>
#include <charconv>

#include "encoderchannel.h"
#include "encoderinterpolator.h"
#include "numbertext.h"
#include "reportprocess.h"
#include "testhelpers.h"

namespace {

double ReadDouble(const QByteArray &Text)
{
  double value = 0.0;
  const auto result = std::from_chars(Text.constData(), Text.constData() + Text.size(), value);
  EXPECT_TRUE(result.ec == std::errc() && result.ptr == Text.constData() + Text.size())
      << Text.constData();
  return value;
}

}  // namespace

TEST(ReportCsvTest, RowsReadBackToTheInterpolatorsPointsBitForBit)
{
  // Built here from the model, not through the report's setup code.
  const TEncoderChannel a = MakeChannel(SIN_CHANNEL, {1.1, 0.03, 0.0});
  const TEncoderChannel b = MakeChannel(COS_CHANNEL, {1.0, 0.0, -0.2});
  TEncoderInterpolator interpolator;
  interpolator.SetInterpolatorCount(30);  // 0.030 / 0.001
  bool error = false;
  const std::vector<TVector2> points = interpolator.Evaluate(0.030, a, b, &error);

  const TReportRun run =
      RunReportProgram({"--format", "csv", "--pitch", "0.030", "--resolution", "0.001", "--gain-a",
                        "1.1", "--offset-a", "0.03", "--phase-b", "-0.2"});
  ExpectSuccess(run,
                "vantrel-report: warning: channel A (SIN) would reach 1.13: the simulation "
                "clips it at +-1\n");
  ASSERT_TRUE(run.Out.endsWith('\n'));
  const QList<QByteArray> lines = run.Out.chopped(1).split('\n');
  ASSERT_EQ(lines.size(), 1 + 300);
  EXPECT_EQ(lines[0], "point,pass,position,error");
  for (int i = 0; i < 300; ++i) {
    const QList<QByteArray> fields = lines[i + 1].split(',');
    ASSERT_EQ(fields.size(), 4) << lines[i + 1].constData();
    EXPECT_EQ(fields[0], QByteArray::number(i + 1));
    EXPECT_EQ(fields[1], i < 150 ? "forward" : "return");
    EXPECT_EQ(ReadDouble(fields[2]), points[i].x) << i;
    EXPECT_EQ(ReadDouble(fields[3]), points[i].y) << i;
  }
}

TEST(ReportCsvTest, EachNumberFormKeepsTheLayoutItsFilesHave)
{
  // Worked out by hand from each value's exact decimal expansion.
  const struct
  {
    double Value;
    const char *Shortest, *Digits17, *QtDigits17, *ShortestText, *Figure, *Message;
  } cases[] = {
      {0.1, "0.1", "0.10000000000000001", "0.10000000000000001", "0.1", "0.1", "0.100"},
      {2.0 / 3.0, "0.6666666666666666", "0.66666666666666663", "0.66666666666666663",
       "0.6666666666666666", "0.666667", "0.667"},
      {1e-4, "1e-04", "0.0001", "0.0001", "0.0001", "0.0001", "0.000100"},
      {1e5, "1e+05", "100000", "100000", "100000", "100000", "100000"},
      {-0.0, "-0", "-0", "0", "0", "0", "0"},
      // Exactly ...342.125: a tie at the seventeenth digit.
      {911574910228342.125, "911574910228342.1", "911574910228342.12", "911574910228342.13",
       "911574910228342.1", "9.11575e+14", "9.12e+14"},
      // Three digits in a message: rounding into the next decade.
      {-0.99951, "-0.99951", "-0.99951000000000001", "-0.99951000000000001", "-0.99951", "-0.99951",
       "-1.00"},
      {2133.3395, "2133.3395", "2133.3395", "2133.3395", "2133.3395", "2133.34", "2130"},
  };
  for (const auto &c : cases) {
    QByteArray shortest, digits17, qt_digits17;
    AppendShortest(shortest, c.Value);
    AppendDigits17(digits17, c.Value);
    AppendQtDigits17(qt_digits17, c.Value);
    EXPECT_EQ(shortest, c.Shortest);
    EXPECT_EQ(digits17, c.Digits17);
    EXPECT_EQ(qt_digits17, c.QtDigits17);
    EXPECT_EQ(ShortestText(c.Value), c.ShortestText);
    EXPECT_EQ(Figure(c.Value), c.Figure);
    EXPECT_EQ(MessageFigure(c.Value), c.Message) << c.Value;
  }
}
