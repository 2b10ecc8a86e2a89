// The window's measured capture: opening it (command line, drop, Ctrl+O),
// its samples and error beside the simulation, closing it.
#include <QApplication>
#include <QDoubleSpinBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QKeySequence>
#include <QMessageBox>
#include <QMimeData>
#include <QShortcut>
#include <QToolButton>
#include <QUrl>
#include <thread>

#include "angles.h"
#include "captureoptions.h"
#include "graphstyle.h"
#include "graphwidget.h"
#include "setupparameters.h"
#include "vantrel.h"
#include "vantrelversion.h"
#include "windowcapture.h"

namespace {

// The title without a capture; an open capture adds its file name.
const QString WindowTitle = QString("Vantrel - %1").arg(VantrelVersion);

// The local file of a drag that carries exactly one; empty otherwise.
QString DraggedFile(const QMimeData *Data)
{
  if (!Data || !Data->hasUrls() || Data->urls().size() != 1 || !Data->urls()[0].isLocalFile())
    return QString();
  return Data->urls()[0].toLocalFile();
}

void AddSamples(TGraphWidget *Graph, const QColor &Curve, const std::vector<TVector2> &Points)
{
  const int set = Graph->AddDataSet(MeasuredShade(Curve), MeasuredStyle);
  for (const TVector2 &point : Points)
    Graph->AddPoint(set, point);
}

}  // namespace

void TVantrel::Set_Up_Capture()
{
  setWindowTitle(WindowTitle);
  setAcceptDrops(true);
  // Shortcuts take no focus, so the keyboard's chain stays as it is.
  QShortcut *open = new QShortcut(QKeySequence("Ctrl+O"), this);
  connect(open, SIGNAL(activated()), this, SLOT(Open_Capture_Dialog()));
  QShortcut *close = new QShortcut(QKeySequence("Ctrl+W"), this);
  connect(close, SIGNAL(activated()), this, SLOT(CloseCapture()));
}

bool TVantrel::OpenCapture(const QString &Path)
{
  return OpenCapture(Path, QStringList());
}

bool TVantrel::OpenCapture(const QString &Path, const QStringList &Options)
{
  if (d_opening_capture)
    return false;
  TCaptureOptions options;
  const QString refused = ParseCaptureOptions(Options, options);
  if (!refused.isEmpty()) {
    Show_Message(false, refused);
    return false;
  }
  d_opening_capture = true;

  // A million rows take a few tenths of a second: they are read on a
  // worker while the window keeps painting. User input waits, so nothing
  // changes under the capture being opened.
  auto capture = std::make_unique<TWindowCapture>();
  QString message;
  bool read = false;
  QApplication::setOverrideCursor(Qt::BusyCursor);
  QEventLoop wait;
  std::thread worker([&] {
    read = ReadWindowCapture(Path, options, *capture, message);
    QMetaObject::invokeMethod(&wait, "quit", Qt::QueuedConnection);
  });
  wait.exec(QEventLoop::ExcludeUserInputEvents);
  worker.join();
  QApplication::restoreOverrideCursor();
  d_opening_capture = false;

  if (!read) {
    Show_Message(false, message);
    return false;
  }
  d_capture = std::move(capture);
  // The boxes round and clamp the model as they do any value; each one
  // that changes runs its slot. The last two calls show the capture even
  // when no box changed.
  for (const TSetupParameter *parameter : ChannelParameters())
    Box(*parameter)->setValue(parameter->In(d_capture->Model));
  Update_Scope();
  Update_Evaluation();
  setWindowTitle(QString("%1 - %2").arg(WindowTitle, d_capture->FileName));
  if (!d_capture->Warnings.isEmpty())
    Show_Message(true, d_capture->Warnings.join('\n'));
  return true;
}

void TVantrel::CloseCapture()
{
  if (!d_capture)
    return;
  d_capture.reset();
  Update_Scope();
  Update_Evaluation();
  setWindowTitle(WindowTitle);
}

void TVantrel::Open_Capture_Dialog()
{
  QFileDialog *dialog = new QFileDialog(this, "Open Capture", QString(),
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
  if (!d_capture)
    return;
  if (!d_scope_mode->isChecked()) {
    AddSamples(d_scope, ChannelAColor, d_capture->ChannelA);
    AddSamples(d_scope, ChannelBColor, d_capture->ChannelB);
  } else {
    AddSamples(d_scope, FigureColor, d_capture->Figure);
  }
}

// The error's positions within one pitch follow the pitch shown.
void TVantrel::Add_Capture_Error(const double pitch)
{
  if (!d_capture || d_capture->Error.empty())
    return;
  const double mm = pitch / TwoPi;
  const int set = d_error_graph->AddDataSet(MeasuredShade(FigureColor), MeasuredStyle);
  for (const TVector2 &point : d_capture->Error)
    d_error_graph->AddPoint(set, TVector2(point.x * mm, point.y * mm));
}

void TVantrel::Show_Message(bool warning, const QString &text)
{
  QMessageBox *box = new QMessageBox(warning ? QMessageBox::Warning : QMessageBox::Critical,
                                     WindowTitle, text, QMessageBox::Ok, this);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::WindowModal);
  box->open();
}
