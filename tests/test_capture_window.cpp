#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <set>

#include "captureoptions.h"
#include "reportprocess.h"
#include "testhelpers.h"

namespace {

const double Pi = 3.141592653589793;

// The box opened last among the window's children: its text, then closed.
QString TakeMessage(QWidget &Window)
{
  const QList<QMessageBox *> boxes = Window.findChildren<QMessageBox *>();
  if (boxes.isEmpty())
    return "<no message box>";
  QMessageBox *box = boxes.last();
  EXPECT_TRUE(box->isVisible());
  EXPECT_EQ(box->windowModality(), Qt::WindowModal);
  QString text = box->text();
  delete box;
  return text;
}

std::pair<double, double> Range(const std::vector<TVector2> &Points, bool Y)
{
  double low = 1e300, high = -1e300;
  for (const TVector2 &p : Points) {
    low = std::min(low, Y ? p.y : p.x);
    high = std::max(high, Y ? p.y : p.x);
  }
  return {low, high};
}

}  // namespace

class CaptureWindowTest : public WindowFixture
{
protected:
  QStringList Boxes()
  {
    QStringList texts;
    for (const char *name : {"gain_a", "offset_a", "gain_b", "offset_b"})
      texts << Box(name)->text();
    return texts;
  }
  // What the window shows: boxes, title and each graph's data sets.
  QString State()
  {
    QStringList sets;
    for (TGraphWidget *graph : {scope, error_graph})
      for (int i = 0; i < graph->DataSetCount(); ++i)
        sets << QString::number(graph->PointCount(i));
    return Boxes().join(' ') + Box("phase_a")->text() + " | " + window.windowTitle() + " | " +
           sets.join(' ');
  }
};

// The boxes hold the generator's parameters over the larger peak (offset
// plus amplitude), rounded; the samples lie on the generator's signals.
TEST_F(CaptureWindowTest, ExamplesShowTheirModelSamplesAndError)
{
  struct TCase
  {
    const char *File;
    QStringList Options;
    const char *Boxes;  // gains and offsets, A then B
    double Phase;
    const char *Warns;  // empty: no message box
    int ErrorSets;
  };
  const TCase cases[] = {
      // peak 1.05: 1 / 1.05, 0.05 / 1.05, 0.95 / 1.05, -0.03 / 1.05
      {"clean.csv", {}, "0.95 0.05 0.90 -0.03", 0.08, "", 2},
      {"european.csv", {}, "0.95 0.05 0.90 -0.03", 0.08, "", 2},
      {"clipped.csv", {}, "0.95 0.05 0.90 -0.03", 0.08, "clipped", 2},
      // counts around 2048 without a zero: peak 2133.3 + 1707 = 3840.3
      {"adc12-counts.csv",
       {},
       "0.44 0.56 0.42 0.52",
       0.08,
       "lies outside their Lissajous figure",
       1},
      // the report's fit with --zero 2048: offsets 85.34, -51.20, amplitudes
      // 1706.66, 1621.35 counts, peak 1792.0; B's zero 52 higher moves its
      // offset to -103.20, -0.0576 of the peak
      {"adc12-counts.csv", {"--zero", "2048"}, "0.95 0.05 0.90 -0.03", 0.08, "", 2},
      {"adc12-counts.csv", {"--zero", "2048,2100"}, "0.95 0.05 0.90 -0.06", 0.08, "", 2},
  };
  for (const TCase &c : cases) {
    SCOPED_TRACE(c.File);
    ASSERT_TRUE(window.OpenCapture(ExampleFile(c.File), c.Options));
    EXPECT_EQ(Boxes().join(' '), c.Boxes);
    EXPECT_NEAR(Box("phase_a")->value(), c.Phase, 1e-4);
    EXPECT_EQ(Box("phase_b")->text(), "0.000000");
    EXPECT_EQ(window.windowTitle(), QString("Vantrel - 1.0 - ") + c.File);
    if (*c.Warns) {
      EXPECT_TRUE(TakeMessage(window).contains(c.Warns));
    }
    EXPECT_TRUE(window.findChildren<QMessageBox *>().isEmpty());
    // The simulation first, then each channel's samples, lighter, as points.
    ASSERT_EQ(scope->DataSetCount(), 4);
    const QColor shades[] = {QColor(191, 127, 127), QColor(127, 191, 127)};
    for (int set : {2, 3}) {
      EXPECT_EQ(scope->DataSet(set).Color, shades[set - 2]);
      EXPECT_EQ(scope->DataSet(set).Style, 3);
      EXPECT_EQ(scope->PointCount(set), 150);  // every 20th of 3000 rows
      EXPECT_GE(Range(scope->DataSet(set).Points, false).first, 0.0);
      EXPECT_LT(Range(scope->DataSet(set).Points, false).second, 8 * Pi);
    }
    ASSERT_EQ(error_graph->DataSetCount(), c.ErrorSets);
    if (c.ErrorSets == 2) {
      EXPECT_EQ(error_graph->DataSet(1).Color, QColor(127, 127, 191));
    }
  }
  // Only the last capture stays.
  window.CloseCapture();
  EXPECT_EQ(window.windowTitle(), "Vantrel - 1.0");
}

// Each sample sits where the generator put it: A = 0.05 + sin(t + 0.08),
// B = -0.03 + 0.95 cos t, over the peak 1.05, at t folded into four
// periods; the error spans 2.855 % of a period within one pitch, a new
// pitch moves it, and it meets the simulation's.
TEST_F(CaptureWindowTest, SamplesSitOnTheSignalsAndTheErrorFollowsThePitch)
{
  ASSERT_TRUE(window.OpenCapture(ExampleFile("clean.csv")));
  ASSERT_EQ(scope->DataSetCount(), 4);
  for (const TVector2 &p : scope->DataSet(2).Points)
    ASSERT_NEAR(p.y, (0.05 + std::sin(p.x + 0.08)) / 1.05, 1e-9) << p.x;
  for (const TVector2 &p : scope->DataSet(3).Points)
    ASSERT_NEAR(p.y, (-0.03 + 0.95 * std::cos(p.x)) / 1.05, 1e-9) << p.x;
  // Three periods reach three of the scope's four.
  std::set<int> periods;
  for (const TVector2 &p : scope->DataSet(2).Points)
    periods.insert(static_cast<int>(p.x / (2 * Pi)));
  EXPECT_GE(periods.size(), 3u);

  for (const auto &[pitch, mm] : {std::pair("0.040", 0.040), std::pair("0.080", 0.080)}) {
    Combo("scale_pitch")->setCurrentText(pitch);
    ASSERT_EQ(error_graph->DataSetCount(), 2);
    const std::vector<TVector2> &error = error_graph->DataSet(1).Points;
    EXPECT_GE(Range(error, false).first, 0.0);
    EXPECT_LT(Range(error, false).second, mm);
    EXPECT_GT(Range(error, false).second, 0.99 * mm);
    const auto [low, high] = Range(error, true);
    EXPECT_NEAR((high - low) / mm, 0.02855, 0.0003) << pitch;
  }

  // At a fine resolution the model's simulated error meets the measured
  // one within the counts' sawtooth (one resolution, 1e-4) and the boxes'
  // rounding; the error's own span is ten times that.
  Combo("scale_pitch")->setCurrentText("0.040");
  Combo("resolution")->setCurrentText("0.0001");
  const std::vector<TVector2> &simulated = error_graph->DataSet(0).Points;
  const std::vector<TVector2> forward(simulated.begin(), simulated.begin() + simulated.size() / 2);
  for (const TVector2 &p : error_graph->DataSet(1).Points) {
    const auto near = std::min_element(forward.begin(), forward.end(), [&](auto &u, auto &v) {
      return std::fabs(u.x - p.x) < std::fabs(v.x - p.x);
    });
    ASSERT_NEAR(p.y, near->y, 1.2e-4) << p.x;
  }

  // A box moves the model; the measurement stays where it was.
  const std::vector<TVector2> samples = scope->DataSet(2).Points;
  Box("gain_a")->setValue(1.5);
  ASSERT_EQ(scope->DataSetCount(), 4);
  EXPECT_EQ(scope->DataSet(2).Points.size(), samples.size());
  EXPECT_EQ(scope->DataSet(2).Points[10].y, samples[10].y);
  EXPECT_EQ(error_graph->DataSetCount(), 2);

  // XY: the pairs over the figure, on the generator's ellipse.
  scope_mode->setChecked(true);
  ASSERT_EQ(scope->DataSetCount(), 2);
  EXPECT_EQ(scope->DataSet(1).Color, QColor(127, 127, 191));
  EXPECT_EQ(scope->PointCount(1), 150);
  for (const TVector2 &p : scope->DataSet(1).Points) {
    const double cosine = (1.05 * p.y + 0.03) / 0.95;
    const double sine = (1.05 * p.x - 0.05 - std::sin(0.08) * cosine) / std::cos(0.08);
    ASSERT_NEAR(sine * sine + cosine * cosine, 1.0, 1e-9);
  }
  // Drawn: pixels of the lighter blue in the rendered scope.
  ResizeAndSend(*scope, 400, 300);
  EXPECT_GT(::Find(RenderedImage(*scope), QColor(127, 127, 191)).Count, 100);

  window.CloseCapture();
  EXPECT_EQ(window.windowTitle(), "Vantrel - 1.0");
  EXPECT_EQ(scope->DataSetCount(), 1);
  EXPECT_EQ(error_graph->DataSetCount(), 1);
  EXPECT_EQ(Box("gain_a")->text(), "1.50");
  EXPECT_EQ(Box("gain_b")->text(), "0.90");
}

// A file that is no capture says what the report says, in a message box,
// and leaves the window, and the capture open in it, as they were.
TEST_F(CaptureWindowTest, RefusalsChangeNothing)
{
  QTemporaryDir dir;
  const QString binary = dir.filePath("binary.dat");
  QByteArray bytes;
  for (int i = 0; i < 4096; ++i)
    bytes += static_cast<char>((i * 97 + 13) % 256);
  WriteFile(binary, bytes);
  const QString refused[] = {binary, dir.filePath("missing.csv"), dir.path(),
                             ExampleFile("README.md")};

  ASSERT_TRUE(window.OpenCapture(ExampleFile("clean.csv")));
  Box("offset_b")->setValue(0.2);
  const QString before = State();
  for (const QString &path : refused) {
    SCOPED_TRACE(qPrintable(path));
    EXPECT_FALSE(window.OpenCapture(path));
    const QString message = TakeMessage(window);
    EXPECT_FALSE(message.contains('\n'));
    const TReportRun run = RunReportProgram({"--capture", path});
    EXPECT_EQ("vantrel-report: " + message + "\n", QString::fromUtf8(run.Err));
    EXPECT_EQ(State(), before);
  }
  EXPECT_FALSE(window.OpenCapture(ExampleFile("noisy.csv"), {"--bogus"}));
  EXPECT_EQ(TakeMessage(window), "Unknown option 'bogus'.");
  EXPECT_EQ(State(), before);
}

// Exactly one local file may be dropped; it opens once the drop is over.
TEST_F(CaptureWindowTest, DropsOneLocalFile)
{
  EXPECT_TRUE(window.acceptDrops());
  const QUrl file = QUrl::fromLocalFile(ExampleFile("noisy.csv"));
  const QList<QUrl> refused[] = {{}, {file, file}, {QUrl("https://example.org/noisy.csv")}};
  for (const QList<QUrl> &urls : refused) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    enter.setAccepted(false);
    QApplication::sendEvent(&window, &enter);
    EXPECT_FALSE(enter.isAccepted()) << urls.size();
  }

  QMimeData data;
  data.setUrls({file});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  enter.setAccepted(false);
  QApplication::sendEvent(&window, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &drop);
  EXPECT_TRUE(drop.isAccepted());
  QTRY_COMPARE(window.windowTitle(), QString("Vantrel - 1.0 - noisy.csv"));
  EXPECT_EQ(scope->DataSetCount(), 4);
  EXPECT_EQ(Box("phase_a")->text().left(5), "0.079");
}

// Ctrl+O offers a file dialog whose choice opens; Ctrl+W closes.
TEST_F(CaptureWindowTest, KeysOpenAndClose)
{
  ShowActive();
  QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
  QFileDialog *dialog = window.findChild<QFileDialog *>();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->nameFilters().size(), 2);
  dialog->selectFile(ExampleFile("clean.csv"));
  QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
  EXPECT_EQ(window.windowTitle(), "Vantrel - 1.0 - clean.csv");
  QApplication::setActiveWindow(&window);
  QTest::keyClick(&window, Qt::Key_W, Qt::ControlModifier);
  EXPECT_EQ(window.windowTitle(), "Vantrel - 1.0");
  EXPECT_EQ(scope->DataSetCount(), 2);
}

// What the defaults leave out, numbers in their shortest exact form, and
// one level for both channels; read back, the same options.
TEST(CaptureOptions, ArgumentsReadBackAsTheOptions)
{
  TCaptureOptions all;
  all.Read = {{4, 2}, true, true};
  all.Zero[0] = 2.5;
  all.Zero[1] = -0.001;
  TCaptureOptions shared;
  shared.Zero[0] = shared.Zero[1] = 0.1 + 0.2;
  const std::pair<TCaptureOptions, QStringList> cases[] = {
      {all, {"--columns", "4,2", "--skip-bad-rows", "--decimal-comma", "--zero", "2.5,-0.001"}},
      {shared, {"--zero", "0.30000000000000004"}},
      {TCaptureOptions(), {}},
  };
  for (const auto &[options, arguments] : cases) {
    EXPECT_EQ(CaptureOptionArguments(options), arguments);
    TCaptureOptions read = all;
    EXPECT_EQ(ParseCaptureOptions(arguments, read), "");
    EXPECT_TRUE(read == options) << qPrintable(arguments.join(' '));
  }
  TCaptureOptions read;
  EXPECT_EQ(ParseCaptureOptions({"--zero", "1", "a.csv"}, read), "unexpected argument 'a.csv'");
}

namespace {

// The window's program run without a display, as from a terminal or a
// script on a headless machine.
TReportRun RunWindowProgram(const QStringList &Arguments)
{
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    environment.remove(name);
  QProcess process;
  process.setProcessEnvironment(environment);
  process.start(VANTREL_WINDOW_PROGRAM, Arguments);
  process.waitForFinished(60000);
  TReportRun run;
  run.Crashed = process.exitStatus() != QProcess::NormalExit;
  run.ExitCode = process.exitCode();
  run.Out = process.readAllStandardOutput();
  run.Err = process.readAllStandardError();
  return run;
}

}  // namespace

// The toolkit's own options pass; --help lists the window's alone.
TEST(WindowCommandLine, HelpAndVersionNeedNoDisplay)
{
  const TReportRun help = RunWindowProgram({"--help"});
  ExpectSuccess(help);
  for (const char *says : {"--zero <V|VA,VB>", "--columns <A,B>", "--decimal-comma",
                           "--skip-bad-rows", "[FILE]", "Exit status:"})
    EXPECT_TRUE(help.Out.contains(says)) << says;
  EXPECT_FALSE(help.Out.contains("platform"));
  const TReportRun version =
      RunWindowProgram({"-platform", "offscreen", "-style=fusion", "-reverse", "-v"});
  ExpectSuccess(version);
  EXPECT_EQ(version.Out, "vantrel 1.0\n");
}

TEST(WindowCommandLine, MistakesAreOneLineAndNoWindow)
{
  const TRefusalCase cases[] = {
      {{"--bogus", "a.csv"}, "Unknown option 'bogus'."},
      {{"--zero", "abc", "a.csv"},
       "--zero needs the reference level V, or VA,VB for each channel, not 'abc'"},
      {{"a.csv", "--columns", "3,3"},
       "--columns needs two different column numbers A,B from 1 to 1000, not '3,3'"},
      {{"a.csv", "b.csv"}, "unexpected argument 'b.csv'"},
      {{"--skip-bad-rows"}, "--skip-bad-rows needs a FILE to open"},
  };
  for (const TRefusalCase &c : cases) {
    const TReportRun run = RunWindowProgram(c.Arguments);
    EXPECT_FALSE(run.Crashed);
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "vantrel: " + c.Says + "\n");
  }
}
