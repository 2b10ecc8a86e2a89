#ifndef VANTREL_H
#define VANTREL_H

#include <QDialog>
#include <QIcon>
#include <QPoint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "encoderchannel.h"
#include "encoderinterpolator.h"
#include "encodersetup.h"
#include "signallimits.h"

class QComboBox;
class QDoubleSpinBox;
class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QToolButton;
class TGraphWidget;
class TLiveAcquisition;
struct TCapture;
struct TLiveCheck;
struct TLiveFrame;
struct TLimitSet;
struct TSetupParameter;
struct TCaptureOptions;
struct TWindowCapture;

// The notice line's text while no capture is open.
const char *const SimulationNotice =
    "Simulated sine/cosine encoder channels and arctangent interpolation";

// The one window: encoder setup, oscilloscope view, channel parameters,
// status line and the evaluation output. A measured capture, once open,
// shows beside the simulation.
class TVantrel : public QDialog
{
  Q_OBJECT

public:
  explicit TVantrel(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
  ~TVantrel() override;

public slots:
  // Reads and fits the capture at Path and shows it: its model in the
  // boxes, its samples and its error in the graphs. False when it was not
  // opened: nothing changes then, and a message box says why, or a dialog
  // asks for the options that may open it.
  bool OpenCapture(const QString &Path);
  // The same, read with Options as ParseCaptureOptions takes them; a
  // list it refuses is refused in a message box.
  bool OpenCapture(const QString &Path, const QStringList &Options);
  // Takes the capture off the graphs and returns the boxes to the values
  // they held before it was opened; stops an acquisition.
  void CloseCapture();
  // Starts acquiring frames from Source (scpi://, alsa:, file:), each
  // fitted and shown as a capture with the limits' checks. False, with the
  // problem in the notice line, for an address that names no source; a
  // source that fails later shows its problem there and stops, leaving
  // its last frame on screen.
  bool StartAcquisition(const QString &Source);
  // Stops after the frame in hand; the last frame stays on screen.
  void StopAcquisition();
  // Writes the frame shown as vantrel-report --save does.
  bool SaveFrame(const QString &Path);
  // Writes the PDF protocol of the capture or frame on screen, else of
  // the simulation the boxes set. False, with a message box and nothing
  // written, when the file cannot be written.
  bool SaveProtocol(const QString &Path);

protected:
  void dragEnterEvent(QDragEnterEvent *event) override;
  void dropEvent(QDropEvent *event) override;

private slots:
  void Gain_A(const double value);
  void Gain_B(const double value);
  void Offset_A(const double value);
  void Offset_B(const double value);
  void Phase_A(const double value);
  void Phase_B(const double value);
  void Setup_Changed();
  void Scope_Mode_Changed(bool checked);
  void Output_Tab_Changed();
  void Open_Capture_Dialog();
  void Capture_Options_Chosen();
  void Acquire_Clicked();
  void Acquire_Chosen();
  void Hold_Toggled(bool held);
  void Save_Frame_Dialog();
  void Save_Protocol_Dialog();

private:
  // The setup the boxes show; the channels are made from it.
  TEncoderSetup Setup() const;
  QDoubleSpinBox *Box(const TSetupParameter &parameter) const;
  void Channel_Changed(const QDoubleSpinBox *box);
  void Update_Scope();
  void Update_Evaluation();
  void Restore_Text_Scroll(const QPoint &scroll);
  void Set_Up_Capture();
  bool Open_Capture(const QString &Path, const TCaptureOptions &Options);
  void Show_Capture_State();
  void Add_Capture_Samples();
  // The capture's (A, B) pairs and its fitted ellipse, with their legend.
  void Add_Capture_Figure(TGraphWidget *Graph) const;
  void Add_Capture_Error(const TEncoderSetup &setup);
  void Show_Message(bool warning, const QString &text, const QString &detail = QString());
  // A file dialog to save to, which hands the chosen path to Save.
  void Open_Save_Dialog(const QString &Title, const QString &Filter, const QString &Suffix,
                        std::function<void(const QString &)> Save);
  void Set_Up_Acquisition();
  bool Acquiring() const;
  void Show_Live_Frame(std::shared_ptr<TLiveFrame> Frame);
  void Show_Checks(const std::vector<TLiveCheck> &Checks);
  void Show_Live_State();

  QComboBox *d_scale_pitch;
  QComboBox *d_resolution;
  QDoubleSpinBox *d_gain_a;
  QDoubleSpinBox *d_gain_b;
  QDoubleSpinBox *d_offset_a;
  QDoubleSpinBox *d_offset_b;
  QDoubleSpinBox *d_phase_a;
  QDoubleSpinBox *d_phase_b;
  QLabel *d_status;
  QPlainTextEdit *d_text_output;
  QTabWidget *d_output_tabs;
  TGraphWidget *d_error_graph;
  TGraphWidget *d_scope;
  QToolButton *d_scope_mode;
  TEncoderChannel d_channel_a;
  TEncoderChannel d_channel_b;
  TEncoderInterpolator d_interpolator;
  // Loaded once: every new QIcon leaves entries in Qt's pixmap cache, so
  // building one per click would make memory creep in a long session.
  QIcon d_dual_mode_icon;
  QIcon d_xy_mode_icon;
  // The box of each channel parameter, in the order of ChannelParameters().
  static QDoubleSpinBox *TVantrel::*const d_channel_boxes[];
  // The table's scroll position (horizontal, vertical) kept for when the
  // "Text" tab shows again: a hidden editor's scroll range is not the one
  // it gets when shown, so setting it there would lose the reader's place.
  std::optional<QPoint> d_pending_text_scroll;
  QLabel *d_notice;
  QPushButton *d_open_capture;
  QPushButton *d_save_protocol;
  QPushButton *d_close_capture;
  QPlainTextEdit *d_capture_text;
  // The capture on screen, if any, and the setup the boxes held before
  // it was opened.
  std::unique_ptr<TWindowCapture> d_capture;
  TEncoderSetup d_setup_before_capture;
  // Set while a capture is read, when a second one must wait.
  bool d_opening_capture = false;
  // The live acquisition: its buttons and checks, the source, the limits
  // that judge it, the frame shown as it came (for Save) and a frame that
  // waits while Hold is down. Each start has its own generation, so a
  // frame of an earlier one that arrives late is ignored.
  QPushButton *d_acquire;
  QPushButton *d_hold;
  QPushButton *d_save_frame;
  QTableWidget *d_checks;
  QString d_live_source;
  QString d_limits_name;
  std::unique_ptr<TLimitSet> d_live_limits;
  std::unique_ptr<TCapture> d_live_raw;
  std::optional<TJudgement> d_live_judgement;
  std::shared_ptr<TLiveFrame> d_held_frame;
  unsigned d_live_generation = 0;
  std::unique_ptr<TLiveAcquisition> d_live;
};

#endif
