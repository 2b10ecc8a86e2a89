// Plot files: the window's graphs drawn for a report, at the size asked
// for, in the format the extension names.
#include <QBuffer>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <algorithm>
#include <map>

#include "plotfile.h"
#include "reportprocess.h"
#include "testhelpers.h"

namespace {

QStringList captured_messages;
void CaptureMessage(QtMsgType, const QMessageLogContext &, const QString &Message)
{
  captured_messages << Message;
}

}  // namespace

class ReportPlotTest : public WindowFixture
{
protected:
  const QStringList Setup = {"--gain-a",  "1.2", "--offset-b", "0.1",
                             "--phase-a", "0.2", "--pitch",    "0.020"};

  QImage ProgramPng(const QStringList &Arguments)
  {
    const QString path = dir.filePath("plot.png");
    // Gain A 1.2 would reach 1.2 (offset B 0.1 and gain 1, 1.1): clipped.
    ExpectSuccess(RunReportProgram(Setup + Arguments + QStringList{"--output", "/dev/null"}),
                  "vantrel-report: warning: channel A (SIN) would reach 1.2: the simulation clips "
                  "it at +-1\nvantrel-report: warning: channel B (COS) would reach 1.1: the "
                  "simulation clips it at +-1\n");
    QImage image(path);
    QFile::remove(path);
    return image.convertToFormat(QImage::Format_RGB32);
  }

  QTemporaryDir dir;
};

TEST_F(ReportPlotTest, PngsHaveTheAskedSizeAndTheWindowsCurveColours)
{
  const QString png = dir.filePath("plot.png");
  const QImage error = ProgramPng({"--plot", png, "--size", "640x280"});
  EXPECT_EQ(error.size(), QSize(640, 280));
  const QImage dual = ProgramPng({"--scope", png});
  EXPECT_EQ(dual.size(), QSize(700, 300));  // the default
  const QImage xy = ProgramPng({"--scope", png, "--xy", "--size", "400x400"});
  EXPECT_EQ(xy.size(), QSize(400, 400));

  // The curves' own colours are there: navy error curve and XY figure,
  // dark red A and dark green B.
  const auto has = [](const QImage &Image, QRgb Color) {
    int found = 0;
    for (int y = 0; y < Image.height(); ++y)
      for (int x = 0; x < Image.width(); ++x)
        found += Image.pixel(x, y) == Color;
    return found > 100;
  };
  EXPECT_TRUE(has(error, qRgb(0, 0, 128)));
  EXPECT_TRUE(has(dual, qRgb(128, 0, 0)));
  EXPECT_TRUE(has(dual, qRgb(0, 128, 0)));
  EXPECT_TRUE(has(xy, qRgb(0, 0, 128)));
  EXPECT_FALSE(has(xy, qRgb(128, 0, 0)));
}

namespace {

// The texts of an SVG in drawing order, and its numbers split by axis: the
// horizontal axis's labels share the baseline most numbers stand on.
struct TSvgLabels
{
  QStringList Texts;
  QStringList Horizontal, Vertical;
};

TSvgLabels ReadLabels(const QByteArray &Svg)
{
  TSvgLabels labels;
  std::vector<std::pair<QString, QString>> numbers;  // baseline, text
  const QRegularExpression text("<text[^>]*?\\sy=\"([-0-9.]+)\"[^>]*>\\s*([^<]*)</text>");
  for (auto match = text.globalMatch(QString::fromUtf8(Svg)); match.hasNext();) {
    const QRegularExpressionMatch m = match.next();
    labels.Texts << m.captured(2);
    bool number = false;
    m.captured(2).toDouble(&number);
    if (number)
      numbers.push_back({m.captured(1), m.captured(2)});
  }
  std::map<QString, int> baselines;
  for (const auto &n : numbers)
    ++baselines[n.first];
  const auto common = std::max_element(baselines.begin(), baselines.end(),
                                       [](auto &A, auto &B) { return A.second < B.second; });
  for (const auto &n : numbers)
    (n.first == common->first ? labels.Horizontal : labels.Vertical) << n.second;
  return labels;
}

}  // namespace

TEST_F(ReportPlotTest, SvgLabelsStandAtRoundStepsUnderTitlesWithUnits)
{
  const QString svg = dir.filePath("plot.svg");
  const auto plot = [&](const QStringList &Arguments) {
    const TReportRun run = RunReportProgram(Arguments + QStringList{"--output", "/dev/null"});
    EXPECT_TRUE(run.ExitCode == 0 || run.ExitCode == 1) << run.Err.constData();
    TSvgLabels labels = ReadLabels(ReadFile(svg));
    QFile::remove(svg);
    return labels;
  };

  // An error of +-30 nm (by the report's JSON: 2.9955e-5 mm at most) at a
  // 10 nm resolution fills the plot: labels within +-0.00004 mm, not the
  // window's +-0.001 mm; each axis at a round step with the decimals it
  // needs.
  const TSvgLabels error =
      plot({"--pitch", "0.02", "--resolution", "0.00001", "--gain-a", "1.019", "--plot", svg});
  EXPECT_TRUE(error.Texts.contains("Interpolation error (mm)"));
  EXPECT_TRUE(error.Texts.contains("Scale position (mm)"));
  EXPECT_EQ(error.Horizontal.join(' '),
            "0.000 0.002 0.004 0.006 0.008 0.010 0.012 0.014 0.016 0.018 0.020");
  EXPECT_EQ(error.Vertical.join(' '), "-0.00002 0.00000 0.00002");

  // The scope names both channels in a legend; four periods are 25.1 rad.
  const TSvgLabels scope = plot(Setup + QStringList{"--scope", svg});
  EXPECT_TRUE(scope.Texts.contains("Channel A (SIN)"));
  EXPECT_TRUE(scope.Texts.contains("Channel B (COS)"));
  EXPECT_EQ(scope.Horizontal.join(' '), "0 2 4 6 8 10 12 14 16 18 20 22 24");
  EXPECT_EQ(scope.Vertical.join(' '), "-1.0 -0.5 0.0 0.5 1.0");

  // The study's histogram counts from zero up, in whole trials, and names
  // its limit.
  const TSvgLabels study = plot({"--monte-carlo", "2000", "--tolerance", "gain=0.02", "--limit",
                                 "0.5%", "--quiet", "--plot", svg});
  EXPECT_TRUE(study.Texts.contains("Trials"));
  EXPECT_TRUE(study.Texts.contains("Limit 0.5 %"));
  EXPECT_TRUE(study.Texts.contains("Half the interpolation error's peak-to-peak (% of period)"));
  ASSERT_GE(study.Vertical.size(), 2);
  EXPECT_EQ(study.Vertical.first(), "0");
  EXPECT_FALSE(study.Vertical.join(' ').contains('.')) << qPrintable(study.Vertical.join(' '));
}

TEST_F(ReportPlotTest, SvgAndPdfHaveThePageSizeAndNoToolkitWarnings)
{
  const QString svg = dir.filePath("error.svg"), pdf = dir.filePath("scope.PDF");
  const TReportRun run =
      RunReportProgram(Setup + QStringList{"--plot", svg, "--scope", pdf, "--size", "800x200",
                                           "--output", dir.filePath("table.txt")});
  EXPECT_EQ(run.ExitCode, 0);
  QSvgRenderer renderer(svg);
  EXPECT_TRUE(renderer.isValid());
  EXPECT_EQ(renderer.viewBox(), QRect(0, 0, 800, 200));
  // The page in millimetres at 96 pixels per inch: 800 / 96 * 25.4 and
  // 200 / 96 * 25.4.
  const QByteArray svg_text = ReadFile(svg);
  EXPECT_TRUE(svg_text.contains("width=\"211.667mm\" height=\"52.9167mm\""));
  EXPECT_TRUE(svg_text.contains("<title>Interpolation error over the scale</title>"));
  EXPECT_TRUE(svg_text.contains("#000080"));  // the curve, navy
  // 800 x 200 pixels at 96 per inch are 600 x 150 points.
  const QByteArray pdf_text = ReadFile(pdf);
  EXPECT_TRUE(pdf_text.startsWith("%PDF-"));
  EXPECT_TRUE(pdf_text.contains("/MediaBox [0 0 600.000000 150.000000]"));

  // The drawing itself, in this process, prints nothing through Qt.
  captured_messages.clear();
  const QtMessageHandler previous = qInstallMessageHandler(CaptureMessage);
  for (const TPlotFormat format : {TPlotFormat::Png, TPlotFormat::Svg, TPlotFormat::Pdf}) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(WritePlot(*error_graph, format, QSize(300, 200), buffer));
    EXPECT_GT(buffer.size(), 1000);
  }
  qInstallMessageHandler(previous);
  EXPECT_TRUE(captured_messages.isEmpty()) << qPrintable(captured_messages.join('\n'));
}
