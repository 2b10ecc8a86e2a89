#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QSettings>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <set>

#include "captureoptions.h"
#include "captureoptionsdialog.h"
#include "reportprocess.h"
#include "testhelpers.h"

namespace {

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
  if (!box->informativeText().isEmpty())
    text += '\n' + box->informativeText();
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
  // The folder of the last capture is kept in settings of the test's own.
  CaptureWindowTest()
  {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  }
  QTemporaryDir settings;
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
    // Warnings as the report gives them, one a line.
    if (*c.Warns) {
      const QString warning = TakeMessage(window);
      EXPECT_TRUE(warning.startsWith("529 samples of channel A sit at its largest value 0.900: "))
          << warning.toStdString();
    }
    EXPECT_TRUE(window.findChildren<QMessageBox *>().isEmpty());
    // The simulation first, then each channel's samples as crosses in
    // orange and sky blue, apart from the simulation's red and green.
    ASSERT_EQ(scope->DataSetCount(), 4);
    const QColor measured[] = {QColor(230, 159, 0), QColor(86, 180, 233)};
    for (int set : {2, 3}) {
      EXPECT_EQ(scope->DataSet(set).Color, measured[set - 2]);
      EXPECT_EQ(scope->DataSet(set).Style, 3);
      EXPECT_EQ(scope->PointCount(set), 150);  // one of each 20 rows
      EXPECT_GE(Range(scope->DataSet(set).Points, false).first, 0.0);
      EXPECT_LT(Range(scope->DataSet(set).Points, false).second, 8 * Pi);
    }
    ASSERT_EQ(error_graph->DataSetCount(), c.ErrorSets);
    if (c.ErrorSets == 2) {
      EXPECT_EQ(error_graph->DataSet(1).Color, QColor(230, 159, 0));
    }
  }
  // 2.85 % as vantrel-report --capture clean.csv gives it.
  ASSERT_TRUE(window.OpenCapture(ExampleFile("clean.csv")));
  QLabel *notice = Find<QLabel>("notice");
  EXPECT_EQ(notice->text(), "clean.csv: 3000 rows, error 2.85 % of the period peak-to-peak");
  QPlainTextEdit *figures = Find<QPlainTextEdit>("capture_text");
  EXPECT_TRUE(figures->toPlainText().startsWith("Capture " + ExampleFile("clean.csv") + "\n"));
  EXPECT_FALSE(figures->isHidden());
  EXPECT_TRUE(Box("gain_a")->toolTip().contains("0.95238095"));
  EXPECT_TRUE(Find<QPushButton>("close_capture")->isVisible() || !window.isVisible());
  EXPECT_FALSE(Find<QPushButton>("close_capture")->isHidden());
  window.CloseCapture();
  EXPECT_EQ(window.windowTitle(), "Vantrel - 1.0");
  EXPECT_EQ(notice->text(), "Simulated sine/cosine encoder channels and arctangent interpolation");
  EXPECT_TRUE(figures->isHidden());
  EXPECT_TRUE(figures->toPlainText().isEmpty());
  EXPECT_TRUE(Box("gain_a")->toolTip().isEmpty());
  EXPECT_TRUE(Find<QPushButton>("close_capture")->isHidden());
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

  // The error is counted as the simulation counts: true position less a
  // whole number of counts of 0.0050 mm; the positions run from two of the
  // simulation's sample steps (a fifth of a count) before zero to two
  // before the pitch.
  for (const auto &[pitch, mm] : {std::pair("0.040", 0.040), std::pair("0.080", 0.080)}) {
    Combo("scale_pitch")->setCurrentText(pitch);
    ASSERT_EQ(error_graph->DataSetCount(), 2);
    const std::vector<TVector2> &error = error_graph->DataSet(1).Points;
    const double count = 0.005, step = count / 5;
    EXPECT_GE(Range(error, false).first, -2 * step);
    EXPECT_LT(Range(error, false).first, -1.5 * step);
    EXPECT_LT(Range(error, false).second, mm - 2 * step);
    EXPECT_GT(Range(error, false).second, mm - 3 * step);
    for (const TVector2 &p : error) {
      const double counts = (p.x - p.y) / count;
      ASSERT_NEAR(counts, std::round(counts), 1e-9) << p.x;
    }
  }

  // The model's simulated counter meets the measured one: beside each
  // measured point the simulation's nearest sample has counted the same
  // position, or one count off where the counter steps between the two or
  // the boxes' rounding moves a step.
  Combo("scale_pitch")->setCurrentText("0.040");
  for (const auto &[resolution, count] : {std::pair("0.0001", 1e-4), std::pair("0.0050", 5e-3)}) {
    Combo("resolution")->setCurrentText(resolution);
    const std::vector<TVector2> &simulated = error_graph->DataSet(0).Points;
    const std::vector<TVector2> forward(simulated.begin(),
                                        simulated.begin() + simulated.size() / 2);
    int near_count = 0;
    for (const TVector2 &p : error_graph->DataSet(1).Points) {
      const auto near = std::min_element(forward.begin(), forward.end(), [&](auto &u, auto &v) {
        return std::fabs(u.x - p.x) < std::fabs(v.x - p.x);
      });
      const double counted = (p.x - p.y) - (near->x - near->y);
      ASSERT_LT(std::fabs(counted), count + 1e-9) << p.x;
      near_count += std::fabs(counted) < 1e-9;
    }
    EXPECT_GT(near_count, 0.7 * error_graph->DataSet(1).Points.size()) << resolution;
  }

  // A box moves the model; the measurement stays where it was.
  const std::vector<TVector2> samples = scope->DataSet(2).Points;
  Box("gain_a")->setValue(1.5);
  ASSERT_EQ(scope->DataSetCount(), 4);
  EXPECT_EQ(scope->DataSet(2).Points.size(), samples.size());
  EXPECT_EQ(scope->DataSet(2).Points[10].y, samples[10].y);
  EXPECT_EQ(error_graph->DataSetCount(), 2);

  // XY: the pairs over the figure, then the fitted ellipse, both on the
  // generator's ellipse.
  scope_mode->setChecked(true);
  ASSERT_EQ(scope->DataSetCount(), 3);
  EXPECT_EQ(scope->DataSet(1).Color, QColor(230, 159, 0));
  EXPECT_EQ(scope->DataSet(2).Color, QColor(204, 121, 167));
  EXPECT_EQ(scope->PointCount(1), 150);
  for (int set : {1, 2})
    for (const TVector2 &p : scope->DataSet(set).Points) {
      const double cosine = (1.05 * p.y + 0.03) / 0.95;
      const double sine = (1.05 * p.x - 0.05 - std::sin(0.08) * cosine) / std::cos(0.08);
      ASSERT_NEAR(sine * sine + cosine * cosine, 1.0, 1e-9);
    }
  // Drawn: the measured orange and the ellipse's purple in the rendered
  // scope, and the legend's at its top left: the plot from six text
  // heights right and two down, the box half a text height in, its rows a
  // text height after another half, the second row's first cross a
  // quarter of the two-text-height stroke in.
  ResizeAndSend(*scope, 600, 500);
  const QImage image = RenderedImage(*scope, QSize(600, 500));
  EXPECT_GT(::Find(image, QColor(230, 159, 0)).Count, 100);
  EXPECT_GT(::Find(image, QColor(204, 121, 167)).Count, 50);
  const int u = TextHeight();
  const QPoint cross(6 * u + 2 * (u / 2) + u / 2, 2 * u + 2 * (u / 2) + u + u / 2);
  EXPECT_EQ(image.pixelColor(cross), QColor(230, 159, 0));

  // Closing returns the boxes to their values before the capture.
  window.CloseCapture();
  EXPECT_EQ(window.windowTitle(), "Vantrel - 1.0");
  EXPECT_EQ(scope->DataSetCount(), 1);
  EXPECT_EQ(error_graph->DataSetCount(), 1);
  EXPECT_EQ(Box("gain_a")->text(), "1.00");
  EXPECT_EQ(Box("gain_b")->text(), "1.00");
}

// A capture sampled evenly, its 30,000 rows 1000 a period, is drawn over
// every eighth of the period in the XY figure and on the error graph (the
// positions run from two sample steps of 0.0010 mm before zero); each of
// the three glitches of glitches.csv, far outside the figure, is drawn.
TEST_F(CaptureWindowTest, ThinnedSamplesCoverThePeriodAndKeepEveryGlitch)
{
  QTemporaryDir dir;
  QByteArray rows;
  for (int i = 0; i < 30000; ++i)
    rows += QString("%1,%2,%3\n")
                .arg(i)
                .arg(std::sin(2 * Pi * i / 1000), 0, 'g', 12)
                .arg(std::cos(2 * Pi * i / 1000), 0, 'g', 12)
                .toUtf8();
  WriteFile(dir.filePath("even.csv"), rows);
  ASSERT_TRUE(window.OpenCapture(dir.filePath("even.csv")));
  scope_mode->setChecked(true);
  std::set<int> figure, error;
  for (const TVector2 &p : scope->DataSet(1).Points)
    figure.insert(static_cast<int>(std::floor(8 * (std::atan2(p.x, p.y) / (2 * Pi) + 1))) % 8);
  for (const TVector2 &p : error_graph->DataSet(1).Points)
    error.insert(static_cast<int>(std::floor(8 * (p.x + 0.002) / 0.040)));
  EXPECT_EQ(figure, std::set<int>({0, 1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(error, std::set<int>({0, 1, 2, 3, 4, 5, 6, 7}));

  ASSERT_TRUE(window.OpenCapture(ExampleFile("glitches.csv")));
  TakeMessage(window);
  const std::vector<TVector2> &points = scope->DataSet(1).Points;
  EXPECT_EQ(std::count_if(points.begin(), points.end(),
                          [](const TVector2 &p) { return std::hypot(p.x, p.y) > 1.5; }),
            3);
}

// A file that is no capture says what the report says, with a capital,
// and that it was not opened, in a message box, and leaves the window,
// and the capture open in it, as they were.
TEST_F(CaptureWindowTest, RefusalsChangeNothing)
{
  QTemporaryDir dir;
  const QString binary = dir.filePath("binary.dat");
  QByteArray bytes;
  for (int i = 0; i < 4096; ++i)
    bytes += static_cast<char>((i * 97 + 13) % 256);
  WriteFile(binary, bytes);
  // Prose without a single data row.
  const QString prose = dir.filePath("notes.txt");
  WriteFile(prose, "Notes on the capture\nTaken at 10:00, channel 1 and 2\n");
  const QString refused[] = {binary, dir.filePath("missing.csv"), dir.path(), prose};

  ASSERT_TRUE(window.OpenCapture(ExampleFile("clean.csv")));
  Box("offset_b")->setValue(0.2);
  const QString before = State();
  for (const QString &path : refused) {
    SCOPED_TRACE(qPrintable(path));
    EXPECT_FALSE(window.OpenCapture(path));
    const QStringList message = TakeMessage(window).split('\n');
    ASSERT_EQ(message.size(), 2);
    EXPECT_EQ(message[1], "The file was not opened.");
    const TReportRun run = RunReportProgram({"--capture", path});
    QString reported = QString::fromUtf8(run.Err).remove(0, strlen("vantrel-report: ")).trimmed();
    reported[0] = reported[0].toUpper();
    EXPECT_EQ(message[0], reported);
    EXPECT_EQ(State(), before);
  }
  EXPECT_FALSE(window.OpenCapture(ExampleFile("noisy.csv"), {"--bogus"}));
  EXPECT_EQ(TakeMessage(window), "Unknown option 'bogus'.\nThe file was not opened.");
  EXPECT_EQ(State(), before);
}

// A capture that other options would open asks for them in a dialog,
// filled with what the file suggests: its centre as reference levels, the
// switch that reads it, its columns by header name. Cancelling keeps the
// window as it was; accepting opens the capture with the options chosen.
// Closing returns the boxes to their values before the first capture.
TEST_F(CaptureWindowTest, RefusedCapturesAskForTheOptionsThatOpenThem)
{
  QTemporaryDir dir;
  // Time, index, COS, supply, SIN: the guess 2,3 finds a constant index.
  const QString columns = dir.filePath("columns.csv");
  QByteArray rows = "Time,index,COS,supply,SIN\n";
  for (int i = 0; i < 400; ++i) {
    const double t = 2 * Pi * i / 100;
    rows += QString("%1,7,%2,5.0,%3\n")
                .arg(i * 1e-3)
                .arg(0.9 * std::cos(t), 0, 'g', 12)
                .arg(0.05 + std::sin(t + 0.08), 0, 'g', 12)
                .toUtf8();
  }
  WriteFile(columns, rows);

  Box("gain_a")->setValue(1.2);
  const QString before = State();
  const auto dialog = [this] {
    TCaptureOptionsDialog *options = window.findChild<TCaptureOptionsDialog *>();
    EXPECT_NE(options, nullptr);
    EXPECT_TRUE(options && options->isVisible());
    EXPECT_TRUE(window.findChildren<QMessageBox *>().isEmpty());
    return options;
  };
  // Counts on 2048 without a reference: the centre (2133.34, 1996.80).
  ASSERT_FALSE(window.OpenCapture(ExampleFile("adc12-counts.csv")));
  TCaptureOptionsDialog *options = dialog();
  ASSERT_NE(options, nullptr);
  EXPECT_TRUE(options->findChild<QLabel *>("reason")->text().contains("(2130, 2000)"));
  EXPECT_EQ(options->findChild<QLineEdit *>("zero_a")->text(), "2133");
  EXPECT_EQ(options->findChild<QLineEdit *>("zero_b")->text(), "1997");
  options->reject();
  QApplication::processEvents();
  EXPECT_EQ(State(), before);

  // With 2048 the model of vantrel-report --zero 2048: gains 0.952 and
  // 0.905, offsets 0.0476 and -0.0286.
  ASSERT_FALSE(window.OpenCapture(ExampleFile("adc12-counts.csv")));
  options = dialog();
  ASSERT_NE(options, nullptr);
  options->findChild<QLineEdit *>("zero_a")->setText("2048");
  options->findChild<QLineEdit *>("zero_b")->setText("abc");
  options->accept();
  EXPECT_TRUE(options->isVisible());  // a level that is no number
  options->findChild<QLineEdit *>("zero_b")->setText("2048,0");
  options->accept();
  QTRY_COMPARE(window.windowTitle(), QString("Vantrel - 1.0 - adc12-counts.csv"));
  EXPECT_EQ(Boxes().join(' '), "0.95 0.05 0.90 -0.03");

  // A bad row: skipping them is ticked.
  ASSERT_FALSE(window.OpenCapture(ExampleFile("overrange.csv")));
  options = dialog();
  ASSERT_NE(options, nullptr);
  EXPECT_TRUE(options->findChild<QCheckBox *>("skip_bad_rows")->isChecked());
  options->accept();
  QTRY_COMPARE(window.windowTitle(), QString("Vantrel - 1.0 - overrange.csv"));

  // Columns by their header names: SIN is the fifth, COS the third; the
  // same dialog for a column the data does not have.
  ASSERT_FALSE(window.OpenCapture(columns, {"--columns", "5,7"}));
  options = dialog();
  ASSERT_NE(options, nullptr);
  EXPECT_TRUE(options->findChild<QLabel *>("reason")->text().contains("column 7 does not exist"));
  options->reject();
  QApplication::processEvents();
  ASSERT_FALSE(window.OpenCapture(columns));
  options = dialog();
  ASSERT_NE(options, nullptr);
  EXPECT_TRUE(options->findChild<QLabel *>("reason")->text().contains("has 5 columns (1 Time"));
  QComboBox *column_a = options->findChild<QComboBox *>("column_a");
  QComboBox *column_b = options->findChild<QComboBox *>("column_b");
  ASSERT_EQ(column_a->count(), 5);
  EXPECT_EQ(column_a->itemText(4), "5: SIN");
  column_a->setCurrentIndex(4);
  column_b->setCurrentIndex(4);
  options->accept();
  EXPECT_TRUE(options->isVisible());  // one column for both channels
  column_b->setCurrentIndex(2);
  options->accept();
  QTRY_COMPARE(window.windowTitle(), QString("Vantrel - 1.0 - columns.csv"));
  // Peak 1.05: 1 / 1.05, 0.05 / 1.05, 0.9 / 1.05.
  EXPECT_EQ(Boxes().join(' '), "0.95 0.05 0.86 0.00");

  window.CloseCapture();
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

  // "Open capture..." offers the dialog again, in the folder of the last
  // capture, kept in the settings for the next run too.
  QTest::mouseClick(Find<QPushButton>("open_capture"), Qt::LeftButton);
  const QList<QFileDialog *> dialogs = window.findChildren<QFileDialog *>();
  ASSERT_FALSE(dialogs.isEmpty());
  EXPECT_EQ(dialogs.last()->directory().absolutePath(),
            QFileInfo(ExampleFile("clean.csv")).absolutePath());
  EXPECT_EQ(QSettings("Vantrel", "vantrel").value("capture/folder").toString(),
            QFileInfo(ExampleFile("clean.csv")).absolutePath());
}

// What the defaults leave out, numbers in their shortest exact form, and
// one level for both channels; read back, the same options.
TEST(CaptureOptions, ArgumentsReadBackAsTheOptions)
{
  TCaptureOptions all;
  all.Read = {{4, 2, {}, {}}, true, true};
  TCaptureOptions named;
  named.Read.Columns = {0, 2, "SIN", {}};
  all.Zero[0] = 2.5;
  all.Zero[1] = -0.001;
  TCaptureOptions shared;
  shared.Zero[0] = shared.Zero[1] = 0.1 + 0.2;
  const std::pair<TCaptureOptions, QStringList> cases[] = {
      {all, {"--columns", "4,2", "--skip-bad-rows", "--decimal-comma", "--zero", "2.5,-0.001"}},
      {shared, {"--zero", "0.30000000000000004"}},
      {TCaptureOptions(), {}},
      {named, {"--columns", "SIN,2"}},
  };
  for (const auto &[options, arguments] : cases) {
    EXPECT_EQ(CaptureOptionArguments(options), arguments);
    TCaptureOptions read = all;
    EXPECT_EQ(ParseCaptureOptions(arguments, read), "");
    EXPECT_TRUE(read == options) << qPrintable(arguments.join(' '));
  }
  TCaptureOptions read;
  EXPECT_EQ(ParseCaptureOptions({"--zero", "1", "a.csv"}, read), "unexpected argument 'a.csv'");
  EXPECT_EQ(ParseCaptureOptions({"--columns", "'sin', \"Cos\""}, read), "");
  EXPECT_EQ(read.Read.Columns.NameA + read.Read.Columns.NameB, "sinCos");
}

namespace {

// The window's program run without a display, as from a terminal or a
// script on a headless machine.
TReportRun RunWindowProgram(const QStringList &Arguments, const QString &OutputFile = {})
{
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    environment.remove(name);
  QProcess process;
  process.setProcessEnvironment(environment);
  if (!OutputFile.isEmpty())
    process.setStandardOutputFile(OutputFile);
  return RunProcess(process, VANTREL_WINDOW_PROGRAM, Arguments);
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
  // A help that cannot be written is no success.
  const TReportRun full = RunWindowProgram({"--help"}, "/dev/full");
  EXPECT_EQ(full.ExitCode, 2);
  EXPECT_EQ(full.Err, "vantrel: cannot write standard output: No space left on device\n");
}

TEST(WindowCommandLine, MistakesAreOneLineAndNoWindow)
{
  const TRefusalCase cases[] = {
      {{"--bogus", "a.csv"}, "Unknown option 'bogus'."},
      {{"--zero", "abc", "a.csv"},
       "--zero needs the reference level V, or VA,VB for each channel, not 'abc'"},
      {{"a.csv", "--columns", "3,3"},
       "--columns needs two different columns A,B, numbers from 1 to 1000 or header names, not "
       "'3,3'"},
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
