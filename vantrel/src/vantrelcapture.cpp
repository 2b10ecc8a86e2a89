// The window's measured capture: opening it (command line, drop, Ctrl+O,
// the "Open capture..." button), asking for the options it needs, its
// samples and error beside the simulation, closing it.
#include <QApplication>
#include <QDir>
#include <QDoubleSpinBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QToolButton>
#include <QUrl>
#include <thread>

#include "angles.h"
#include "captureoptions.h"
#include "captureoptionsdialog.h"
#include "countederror.h"
#include "graphstyle.h"
#include "graphwidget.h"
#include "liveacquisition.h"
#include "numbertext.h"
#include "setupparameters.h"
#include "vantrel.h"
#include "vantrelversion.h"
#include "windowcapture.h"
#include "windowsettings.h"

namespace {

// The title without a capture; an open capture adds its file name.
const QString WindowTitle = QString("Vantrel - %1").arg(VantrelVersion);
// Where the folder of the last capture is kept between runs.
const char *const CaptureFolderKey = "capture/folder";
// The coordinate readout takes the plot's top right corner.
const Qt::Corner LegendCorner = Qt::TopLeftCorner;

// The local file of a drag that carries exactly one; empty otherwise.
QString DraggedFile(const QMimeData *Data)
{
  if (!Data || !Data->hasUrls() || Data->urls().size() != 1 || !Data->urls()[0].isLocalFile())
    return QString();
  return Data->urls()[0].toLocalFile();
}

void AddPoints(TGraphWidget *Graph, const QColor &Color, TGraphStyle Style,
               const std::vector<TVector2> &Points)
{
  const int set = Graph->AddDataSet(Color, Style);
  for (const TVector2 &point : Points)
    Graph->AddPoint(set, point);
}

}  // namespace

void TVantrel::Set_Up_Capture()
{
  setWindowTitle(WindowTitle);
  setAcceptDrops(true);
  d_open_capture->setText("Open capture...");
  d_open_capture->setToolTip("Open a measured capture (Ctrl+O), or drop its file on the window");
  d_close_capture->setText("Close capture");
  d_close_capture->setToolTip(
      "Close the capture and return the boxes to their values before it (Ctrl+W)");
  connect(d_open_capture, SIGNAL(clicked()), this, SLOT(Open_Capture_Dialog()));
  connect(d_close_capture, SIGNAL(clicked()), this, SLOT(CloseCapture()));
  // Shortcuts take no focus, so the keyboard's chain stays as it is.
  QShortcut *open = new QShortcut(QKeySequence("Ctrl+O"), this);
  connect(open, SIGNAL(activated()), this, SLOT(Open_Capture_Dialog()));
  QShortcut *close = new QShortcut(QKeySequence("Ctrl+W"), this);
  connect(close, SIGNAL(activated()), this, SLOT(CloseCapture()));
}

bool TVantrel::OpenCapture(const QString &Path)
{
  return Open_Capture(Path, TCaptureOptions());
}

bool TVantrel::OpenCapture(const QString &Path, const QStringList &Options)
{
  TCaptureOptions options;
  const QString refused = ParseCaptureOptions(Options, options);
  if (!refused.isEmpty()) {
    Show_Message(false, FirstCapital(refused), NotOpenedText);
    return false;
  }
  return Open_Capture(Path, options);
}

bool TVantrel::Open_Capture(const QString &Path, const TCaptureOptions &Options)
{
  if (d_opening_capture)
    return false;
  d_opening_capture = true;

  // A million rows take a few tenths of a second: they are read on a
  // worker while the window keeps painting. User input waits, so nothing
  // changes under the capture being opened.
  auto capture = std::make_unique<TWindowCapture>();
  TCaptureRefusal refusal;
  bool read = false;
  QApplication::setOverrideCursor(Qt::BusyCursor);
  QEventLoop wait;
  std::thread worker([&] {
    read = ReadWindowCapture(Path, Options, *capture, refusal);
    QMetaObject::invokeMethod(&wait, "quit", Qt::QueuedConnection);
  });
  wait.exec(QEventLoop::ExcludeUserInputEvents);
  worker.join();
  QApplication::restoreOverrideCursor();
  d_opening_capture = false;

  if (!read) {
    if (refusal.Remedy) {
      TCaptureOptionsDialog *dialog = new TCaptureOptionsDialog(Path, refusal, this);
      dialog->setAttribute(Qt::WA_DeleteOnClose);
      connect(dialog, SIGNAL(accepted()), this, SLOT(Capture_Options_Chosen()));
      dialog->open();
    } else {
      Show_Message(false, FirstCapital(refusal.Reason), NotOpenedText);
    }
    return false;
  }
  QSettings(SettingsOrganization, SettingsApplication)
      .setValue(CaptureFolderKey, QFileInfo(Path).absolutePath());
  // A file opened ends a live acquisition.
  d_live.reset();
  d_live_raw.reset();
  d_live_judgement.reset();
  if (!d_capture)
    d_setup_before_capture = Setup();
  d_capture = std::move(capture);
  // The boxes round and clamp the model as they do any value; each one
  // that changes runs its slot. The last calls show the capture even
  // when no box changed.
  for (const TSetupParameter *parameter : ChannelParameters())
    Box(*parameter)->setValue(parameter->In(d_capture->Model));
  Show_Capture_State();
  if (!d_capture->Warnings.isEmpty())
    Show_Message(true, d_capture->Warnings.join('\n'));
  return true;
}

// The dialog's options open the capture it asked them for.
void TVantrel::Capture_Options_Chosen()
{
  const TCaptureOptionsDialog *dialog = qobject_cast<TCaptureOptionsDialog *>(sender());
  if (!dialog)
    return;
  const QString path = dialog->Path();
  const TCaptureOptions options = dialog->Options();
  // Opened once the dialog is gone: reading runs an event loop of its own.
  QMetaObject::invokeMethod(
      this, [this, path, options] { Open_Capture(path, options); }, Qt::QueuedConnection);
}

void TVantrel::CloseCapture()
{
  d_live.reset();
  d_live_raw.reset();
  d_live_judgement.reset();
  d_held_frame.reset();
  if (!d_capture) {
    Show_Live_State();
    return;
  }
  d_capture.reset();
  for (const TSetupParameter *parameter : ChannelParameters())
    Box(*parameter)->setValue(parameter->In(d_setup_before_capture));
  Show_Capture_State();
  Show_Live_State();
}

// Title, notice, buttons, tooltips and both graphs for the capture open,
// or for none.
void TVantrel::Show_Capture_State()
{
  const bool open = d_capture != nullptr;
  setWindowTitle(open ? QString("%1 - %2").arg(WindowTitle, d_capture->FileName) : WindowTitle);
  d_notice->setText(open ? d_capture->Headline : SimulationNotice);
  d_close_capture->setVisible(open);
  d_capture_text->setPlainText(open ? d_capture->Summary : QString());
  d_capture_text->setVisible(open);
  // The scope may be too small for its legend: its tooltip names the curves.
  d_scope->setToolTip(open ? QString("Lines: the simulation of the boxes; crosses: the samples "
                                     "of %1; in XY mode, the ellipse fitted to them")
                                 .arg(d_capture->FileName)
                           : QString());
  for (const TSetupParameter *parameter : ChannelParameters())
    Box(*parameter)
        ->setToolTip(
            open ? QString("Fitted model parameter of %1: %2 (the box rounds it)")
                       .arg(d_capture->FileName, ShortestText(parameter->In(d_capture->Model)))
                 : QString());
  Update_Scope();
  Update_Evaluation();
}

void TVantrel::Open_Capture_Dialog()
{
  const QString folder =
      QSettings(SettingsOrganization, SettingsApplication).value(CaptureFolderKey).toString();
  QFileDialog *dialog =
      new QFileDialog(this, "Open Capture", QDir(folder).exists() ? folder : QString(),
                      "Text files (*.csv *.txt *.tsv *.dat);;All files (*)");
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setFileMode(QFileDialog::ExistingFile);
  connect(dialog, SIGNAL(fileSelected(QString)), this, SLOT(OpenCapture(QString)));
  dialog->open();
}

void TVantrel::dragEnterEvent(QDragEnterEvent *event)
{
  if (!DraggedFile(event->mimeData()).isEmpty())
    event->acceptProposedAction();
}

// The capture opens once the drop is over: reading it runs an event loop
// of its own, which must not run inside the drag's.
void TVantrel::dropEvent(QDropEvent *event)
{
  const QString path = DraggedFile(event->mimeData());
  if (path.isEmpty())
    return;
  event->acceptProposedAction();
  QMetaObject::invokeMethod(this, "OpenCapture", Qt::QueuedConnection, Q_ARG(QString, path));
}

void TVantrel::Add_Capture_Samples()
{
  if (!d_capture) {
    d_scope->SetLegend({});
    return;
  }
  const QString measured = "Measured: " + d_capture->FileName;
  if (!d_scope_mode->isChecked()) {
    AddPoints(d_scope, MeasuredAColor, MeasuredStyle, d_capture->ChannelA);
    AddPoints(d_scope, MeasuredBColor, MeasuredStyle, d_capture->ChannelB);
    d_scope->SetLegend({{"Simulation", ChannelAColor, TGraphStyle::Lines, ChannelBColor},
                        {measured, MeasuredAColor, MeasuredStyle, MeasuredBColor}},
                       LegendCorner);
  } else {
    Add_Capture_Figure(d_scope);
  }
}

void TVantrel::Add_Capture_Figure(TGraphWidget *Graph) const
{
  AddPoints(Graph, MeasuredFigureColor, MeasuredStyle, d_capture->Figure);
  AddPoints(Graph, FittedFigureColor, TGraphStyle::Lines, d_capture->Ellipse);
  Graph->SetLegend({{"Simulation", FigureColor},
                    {"Measured: " + d_capture->FileName, MeasuredFigureColor, MeasuredStyle},
                    {"Fitted ellipse", FittedFigureColor}},
                   LegendCorner);
}

// The measured error counted at the resolution shown, as the simulation
// counts, at its place within the pitch shown.
void TVantrel::Add_Capture_Error(const TEncoderSetup &setup)
{
  if (!d_capture) {
    d_error_graph->SetLegend({});
    return;
  }
  const TCountedError counted(d_capture->Analysis, setup.Count(), d_interpolator.d_data_size);
  const double mm = setup.Pitch / TwoPi;
  const int set = d_error_graph->AddDataSet(MeasuredFigureColor, MeasuredStyle);
  for (const TVector2 &angles : d_capture->Angles) {
    const TVector2 point = counted.At(angles.x, angles.y);
    d_error_graph->AddPoint(set, TVector2(point.x * mm, point.y * mm));
  }
  d_error_graph->SetLegend(
      {{"Simulation", FigureColor},
       {"Measured: " + d_capture->FileName, MeasuredFigureColor, MeasuredStyle}},
      LegendCorner);
}

void TVantrel::Show_Message(bool warning, const QString &text, const QString &detail)
{
  QMessageBox *box = new QMessageBox(warning ? QMessageBox::Warning : QMessageBox::Critical,
                                     WindowTitle, text, QMessageBox::Ok, this);
  box->setInformativeText(detail);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::WindowModal);
  box->open();
}
