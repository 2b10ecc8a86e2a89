// Plot files: the window's own graphs, at the size asked for, in the
// format the extension names.
#include <QBuffer>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>

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
  void SetUp() override
  {
    Box("gain_a")->setValue(1.2);
    Box("offset_b")->setValue(0.1);
    Box("phase_a")->setValue(0.2);
    Combo("scale_pitch")->setCurrentText("0.020");
  }
  const QStringList Setup = {"--gain-a",  "1.2", "--offset-b", "0.1",
                             "--phase-a", "0.2", "--pitch",    "0.020"};

  // The window's graph drawn the way the report draws its files: white,
  // in the desktop's 9 point sans serif, at 96 dots per inch.
  static QImage WindowGraph(TGraphWidget *Graph, const QSize &Size)
  {
    QImage image(Size, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);  // 96 / 0.0254, rounded
    image.setDotsPerMeterY(3780);
    QPainter painter(&image);
    painter.setFont(QFont("Sans Serif", 9));
    painter.fillRect(image.rect(), Qt::white);
    Graph->RenderToDevice(&painter, image.rect(), true);
    return image;
  }

  QImage ProgramPng(const QStringList &Arguments)
  {
    const QString path = dir.filePath("plot.png");
    const TReportRun run =
        RunReportProgram(Setup + Arguments + QStringList{"--output", "/dev/null"});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_TRUE(run.Err.isEmpty()) << run.Err.constData();
    QImage image(path);
    QFile::remove(path);
    return image.convertToFormat(QImage::Format_RGB32);
  }

  QTemporaryDir dir;
};

TEST_F(ReportPlotTest, PngsArePixelForPixelTheWindowsGraphsAtTheAskedSize)
{
  const QString png = dir.filePath("plot.png");
  const QImage error = ProgramPng({"--plot", png, "--size", "640x280"});
  EXPECT_EQ(error.size(), QSize(640, 280));
  EXPECT_EQ(error, WindowGraph(error_graph, QSize(640, 280)));

  const QImage dual = ProgramPng({"--scope", png});
  EXPECT_EQ(dual.size(), QSize(700, 300));  // the default
  EXPECT_EQ(dual, WindowGraph(scope, QSize(700, 300)));

  scope_mode->setChecked(true);
  const QImage xy = ProgramPng({"--scope", png, "--xy", "--size", "400x400"});
  EXPECT_EQ(xy.size(), QSize(400, 400));
  EXPECT_EQ(xy, WindowGraph(scope, QSize(400, 400)));

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
  EXPECT_TRUE(svg_text.contains("<title>Scale Interpolation Data</title>"));
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
