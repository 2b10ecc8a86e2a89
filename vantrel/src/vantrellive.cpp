// The window live: frames from an instrument (an oscilloscope, a sound
// card, a capture file replayed) fitted on a worker and shown as an
// opened capture is, with the limits' checks; Hold, Save, Stop.
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QSettings>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTableWidget>

#include "acquiredialog.h"
#include "framesave.h"
#include "framesource.h"
#include "graphstyle.h"
#include "limitstext.h"
#include "liveacquisition.h"
#include "setupparameters.h"
#include "vantrel.h"
#include "windowcapture.h"
#include "windowsettings.h"

namespace {

const char *const SourceKey = "acquire/source";
const char *const LimitsKey = "acquire/limits";
const char *const DefaultSource = "scpi://127.0.0.1:5025";
const char *const DefaultLimits = "1vpp";

QColor VerdictColor(TVerdict Verdict)
{
  switch (Verdict) {
    case TVerdict::Pass:
      return PassColor;
    case TVerdict::Fail:
      return FailColor;
    case TVerdict::Undecided:
      break;
  }
  return UndecidedColor;
}

}  // namespace

void TVantrel::Set_Up_Acquisition()
{
  d_acquire->setToolTip(
      "Acquire frames from an oscilloscope, a sound card or a capture file and watch them "
      "fitted live (Ctrl+L)");
  d_hold->setText("Hold");
  d_hold->setCheckable(true);
  d_hold->setToolTip("Freeze the frame shown; acquisition waits");
  d_save_frame->setText("Save frame...");
  d_save_frame->setToolTip("Write the frame shown as a CSV that Open capture reads back");
  d_checks->setColumnCount(5);
  d_checks->setHorizontalHeaderLabels({"Check", "Value", "+- 2u", "Limits", "Verdict"});
  d_checks->verticalHeader()->hide();
  d_checks->setEditTriggers(QAbstractItemView::NoEditTriggers);
  d_checks->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  d_limits_name = QSettings(SettingsOrganization, SettingsApplication)
                      .value(LimitsKey, DefaultLimits)
                      .toString();
  connect(d_acquire, SIGNAL(clicked()), this, SLOT(Acquire_Clicked()));
  connect(d_hold, SIGNAL(toggled(bool)), this, SLOT(Hold_Toggled(bool)));
  connect(d_save_frame, SIGNAL(clicked()), this, SLOT(Save_Frame_Dialog()));
  QShortcut *acquire = new QShortcut(QKeySequence("Ctrl+L"), this);
  connect(acquire, SIGNAL(activated()), this, SLOT(Acquire_Clicked()));
  Show_Live_State();
}

bool TVantrel::StartAcquisition(const QString &Source)
{
  d_live.reset();
  d_held_frame.reset();
  // The address is checked here; the source is made again on the
  // acquisition's thread, which its socket must belong to.
  std::string problem;
  if (!MakeFrameSource(Source.toStdString(), problem)) {
    d_notice->setText(QString::fromStdString(problem));
    Show_Live_State();
    return false;
  }
  d_live_limits.reset();
  if (const TLimitSet *set = FindBuiltInLimitSet(d_limits_name.toStdString()))
    d_live_limits = std::make_unique<TLimitSet>(*set);
  d_live_source = Source;
  const unsigned generation = ++d_live_generation;
  d_live = std::make_unique<TLiveAcquisition>(
      Source, d_live_limits.get(), this, [this, generation](std::shared_ptr<TLiveFrame> Frame) {
        if (generation == d_live_generation)
          Show_Live_Frame(std::move(Frame));
      });
  d_notice->setText(QString("Acquiring from %1...").arg(Source));
  Show_Live_State();
  return true;
}

void TVantrel::StopAcquisition()
{
  if (!Acquiring())
    return;
  d_live->Stop();
  d_hold->setChecked(false);
  if (d_capture)
    d_notice->setText(QString("%1 (stopped)").arg(d_capture->Headline));
  Show_Live_State();
}

bool TVantrel::Acquiring() const
{
  return d_live && !d_live->Stopped();
}

bool TVantrel::SaveFrame(const QString &Path)
{
  if (!d_live_raw)
    return false;
  QSaveFile file(Path);
  if (file.open(QIODevice::WriteOnly)) {
    WriteSavedFrame(file, *d_live_raw, d_live_source, d_live ? d_live->Identity() : QString());
    if (file.commit())
      return true;
  }
  Show_Message(false, QString("Cannot write %1: %2").arg(Path, file.errorString()),
               "The frame was not saved.");
  return false;
}

void TVantrel::Acquire_Clicked()
{
  if (Acquiring()) {
    StopAcquisition();
    return;
  }
  const QString source = QSettings(SettingsOrganization, SettingsApplication)
                             .value(SourceKey, DefaultSource)
                             .toString();
  TAcquireDialog *dialog = new TAcquireDialog(source, d_limits_name, this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, SIGNAL(accepted()), this, SLOT(Acquire_Chosen()));
  dialog->open();
}

void TVantrel::Acquire_Chosen()
{
  const TAcquireDialog *dialog = qobject_cast<TAcquireDialog *>(sender());
  if (!dialog)
    return;
  d_limits_name = dialog->Limits();
  QSettings settings(SettingsOrganization, SettingsApplication);
  settings.setValue(SourceKey, dialog->Source());
  settings.setValue(LimitsKey, d_limits_name);
  StartAcquisition(dialog->Source());
}

void TVantrel::Hold_Toggled(bool held)
{
  // Released, the frame that waited is shown and the next one read.
  if (!held && d_held_frame)
    Show_Live_Frame(std::move(d_held_frame));
}

void TVantrel::Save_Frame_Dialog()
{
  Open_Save_Dialog("Save Frame", "CSV files (*.csv)", "csv",
                   [this](const QString &Path) { SaveFrame(Path); });
}

void TVantrel::Show_Live_Frame(std::shared_ptr<TLiveFrame> Frame)
{
  if (!d_live)
    return;
  for (const QString &note : Frame->Notes)
    Show_Message(true, FirstCapital(note));
  if (Frame->Lost) {
    // The last frame stays on screen.
    d_live->Stop();
    d_hold->setChecked(false);
    d_notice->setText(Frame->Problem);
    Show_Live_State();
    return;
  }
  if (d_hold->isChecked()) {
    d_held_frame = std::move(Frame);
    return;
  }
  if (!Frame->Problem.isEmpty()) {
    d_notice->setText(Frame->Problem);
  } else {
    if (!d_capture)
      d_setup_before_capture = Setup();
    d_capture = std::move(Frame->Capture);
    d_live_raw = std::make_unique<TCapture>(std::move(Frame->Raw));
    d_live_judgement = std::move(Frame->Judgement);
    // The boxes follow the fit; the channels and graphs are redrawn once.
    for (const TSetupParameter *parameter : ChannelParameters()) {
      const QSignalBlocker blocker(Box(*parameter));
      Box(*parameter)->setValue(parameter->In(d_capture->Model));
    }
    d_channel_a = Setup().Channel(0);
    d_channel_b = Setup().Channel(1);
    Show_Capture_State();
    Show_Checks(Frame->Checks);
  }
  Show_Live_State();
  d_live->Taken();
}

void TVantrel::Show_Checks(const std::vector<TLiveCheck> &Checks)
{
  d_checks->setRowCount(static_cast<int>(Checks.size()));
  for (int row = 0; row < d_checks->rowCount(); ++row) {
    const TLiveCheck &check = Checks[static_cast<std::size_t>(row)];
    const QString texts[] = {check.Name, check.Value, check.Expanded, check.Bounds,
                             VerdictText(check.Verdict)};
    for (int column = 0; column < 5; ++column) {
      QTableWidgetItem *item = new QTableWidgetItem(texts[column]);
      if (column == 4) {
        item->setBackground(VerdictColor(check.Verdict));
        item->setForeground(Qt::white);
        item->setTextAlignment(Qt::AlignCenter);
      }
      d_checks->setItem(row, column, item);
    }
  }
  // As wide as its columns, so the error graph keeps the rest.
  int width = 2 * d_checks->frameWidth() + d_checks->verticalScrollBar()->sizeHint().width();
  for (int column = 0; column < d_checks->columnCount(); ++column)
    width += d_checks->horizontalHeader()->sectionSize(column);
  d_checks->setFixedWidth(width);
  d_checks->setVisible(!Checks.empty());
}

// The buttons for an acquisition running, stopped with its last frame on
// screen, or none.
void TVantrel::Show_Live_State()
{
  const bool running = Acquiring();
  const bool frame = d_live_raw != nullptr && d_capture != nullptr;
  d_acquire->setText(running ? "Stop" : "Acquire...");
  d_hold->setVisible(running);
  d_save_frame->setVisible(frame);
  if (!d_capture)
    d_checks->hide();
}
