#include "vantrel.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpacerItem>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cassert>
#include <iterator>

#include "evaluationreport.h"
#include "fixedtexts.h"
#include "graphstyle.h"
#include "graphwidget.h"
#include "liveacquisition.h"
#include "setupparameters.h"
#include "windowcapture.h"

// Registers the built-in images when the program loads; the resources
// live in a static library, whose initialiser the linker would drop.
static void RegisterResources()
{
  Q_INIT_RESOURCE(vantrel);
}

namespace {

struct TResourceRegistration
{
  TResourceRegistration() { RegisterResources(); }
} resource_registration;

const char *const DualModeIconFile = ":/gui/gui_ty.png";
const char *const XYModeIconFile = ":/gui/gui_xy.png";

QFrame *NewLine(QFrame::Shape shape, QWidget *parent)
{
  QFrame *line = new QFrame(parent);
  line->setFrameShape(shape);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

QDoubleSpinBox *NewSpinBox(const QString &name, const TParameterRange &range, QWidget *parent)
{
  QDoubleSpinBox *box = new QDoubleSpinBox(parent);
  box->setObjectName(name);
  box->setAlignment(Qt::AlignCenter);
  box->setDecimals(range.Decimals);
  box->setRange(range.Minimum, range.Maximum);
  box->setSingleStep(range.Step);
  return box;
}

QLabel *NewRightLabel(const QString &text, QWidget *parent)
{
  QLabel *label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

// One data set in the graph's default style, unless there is nothing to
// show.
void AddCurve(TGraphWidget *graph, const QColor &color, const std::vector<TVector2> &points)
{
  if (points.empty())
    return;
  const int set = graph->AddDataSet(color, CurveStyle);
  for (const TVector2 &point : points)
    graph->AddPoint(set, point);
}

// A scale parameter's start value as its list shows it.
QString StartText(const TSetupParameter &parameter)
{
  return QString::number(parameter.Range->Default, 'f', parameter.Range->Decimals);
}

}  // namespace

QDoubleSpinBox *TVantrel::*const TVantrel::d_channel_boxes[] = {
    &TVantrel::d_gain_a, &TVantrel::d_offset_a, &TVantrel::d_phase_a,
    &TVantrel::d_gain_b, &TVantrel::d_offset_b, &TVantrel::d_phase_b};

TVantrel::TVantrel(QWidget *parent, Qt::WindowFlags flags)
    : QDialog(parent, flags), d_dual_mode_icon(DualModeIconFile), d_xy_mode_icon(XYModeIconFile)
{
  QFont text_font;
  text_font.setFamily("Courier New");
  text_font.setPointSize(10);
  QFont notice_font;
  notice_font.setFamily("Verdana");
  notice_font.setPointSize(8);
  notice_font.setStyle(QFont::StyleItalic);
  QFont status_font;
  status_font.setPointSize(12);
  status_font.setWeight(QFont::Bold);

  resize(801, 655);

  // Encoder Setup: setup choices, oscilloscope view, channel parameters.
  QGroupBox *setup_group = new QGroupBox(this);
  QGridLayout *setup_grid = new QGridLayout(setup_group);

  const TSetupParameter &pitch = SetupParameter("pitch");
  const TSetupParameter &resolution = SetupParameter("resolution");
  QLabel *pitch_label = new QLabel(setup_group);
  d_scale_pitch = new QComboBox(setup_group);
  d_scale_pitch->setObjectName("scale_pitch");
  d_scale_pitch->insertItems(0, QStringList() << "0.020"
                                              << "0.040"
                                              << "0.080"
                                              << "0.100"
                                              << "0.120");
  QLabel *pitch_unit = new QLabel(setup_group);

  QHBoxLayout *mode_row = new QHBoxLayout();
  mode_row->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
  QLabel *mode_label = new QLabel(setup_group);
  mode_row->addWidget(mode_label);
  d_scope_mode = new QToolButton(setup_group);
  d_scope_mode->setObjectName("scope_mode");
  d_scope_mode->setFixedSize(22, 22);
  d_scope_mode->setCheckable(true);
  mode_row->addWidget(d_scope_mode);

  QLabel *resolution_label = new QLabel(setup_group);
  d_resolution = new QComboBox(setup_group);
  d_resolution->setObjectName("resolution");
  d_resolution->insertItems(0, QStringList() << "0.0001"
                                             << "0.0005"
                                             << "0.0010"
                                             << "0.0050"
                                             << "0.0100");
  QLabel *resolution_unit = new QLabel(setup_group);

  d_scope = new TGraphWidget(setup_group);
  d_scope->setObjectName("scope");
  d_scope->SetMinimumYExtent(ScopeMinimumYExtent);
  d_scope->setSizePolicy(QSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::Preferred));

  QGridLayout *channel_grid = new QGridLayout();
  QLabel *channel_a_label = new QLabel(setup_group);
  channel_a_label->setAlignment(Qt::AlignCenter);
  QLabel *channel_b_label = new QLabel(setup_group);
  channel_b_label->setAlignment(Qt::AlignCenter);

  channel_grid->addWidget(NewLine(QFrame::HLine, setup_group), 0, 0, 1, 5);
  channel_grid->addWidget(channel_a_label, 1, 0, 1, 2);
  channel_grid->addWidget(NewLine(QFrame::VLine, setup_group), 1, 2, 5, 1);
  channel_grid->addWidget(channel_b_label, 1, 3, 1, 2);
  channel_grid->addWidget(NewLine(QFrame::HLine, setup_group), 2, 0, 1, 2);
  channel_grid->addWidget(NewLine(QFrame::HLine, setup_group), 2, 3, 1, 2);
  // Each channel's parameters down its column from row 3, each box at
  // its start value.
  const std::vector<const TSetupParameter *> &channel_parameters = ChannelParameters();
  assert(channel_parameters.size() == std::size(d_channel_boxes));
  for (std::size_t i = 0; i < channel_parameters.size(); ++i) {
    const TSetupParameter &parameter = *channel_parameters[i];
    QDoubleSpinBox *box = NewSpinBox(parameter.Key, *parameter.Range, setup_group);
    box->setValue(parameter.Range->Default);
    this->*d_channel_boxes[i] = box;
    const int row = 3 + static_cast<int>(i) % 3, column = 3 * parameter.Channel;
    channel_grid->addWidget(NewRightLabel(QString(parameter.Label) + ":", setup_group), row,
                            column);
    channel_grid->addWidget(box, row, column + 1);
  }

  setup_grid->addWidget(pitch_label, 0, 0);
  setup_grid->addWidget(d_scale_pitch, 0, 1);
  setup_grid->addWidget(pitch_unit, 0, 2);
  setup_grid->addLayout(mode_row, 0, 3);
  setup_grid->addWidget(resolution_label, 1, 0);
  setup_grid->addWidget(d_resolution, 1, 1);
  setup_grid->addWidget(resolution_unit, 1, 2);
  setup_grid->addWidget(d_scope, 1, 3, 2, 1);
  setup_grid->addLayout(channel_grid, 2, 0, 1, 3);

  d_status = new QLabel(this);
  d_status->setObjectName("status");
  d_status->setFont(status_font);

  // Output Evaluation: the error graph and the text table on two tabs.
  QGroupBox *output_group = new QGroupBox(this);
  QVBoxLayout *output_layout = new QVBoxLayout(output_group);
  output_layout->setContentsMargins(0, 0, 0, 0);
  d_output_tabs = new QTabWidget(output_group);
  d_output_tabs->setObjectName("output_tabs");
  output_layout->addWidget(d_output_tabs);

  QWidget *graphic_page = new QWidget();
  QVBoxLayout *graphic_layout = new QVBoxLayout(graphic_page);
  d_error_graph = new TGraphWidget(graphic_page);
  d_error_graph->setObjectName("error_graph");
  d_error_graph->SetMinimumYExtent(ErrorMinimumYExtent);
  // A live acquisition's checks, beside the error graph: below it they
  // would take the scope's height.
  QHBoxLayout *graph_row = new QHBoxLayout();
  graph_row->addWidget(d_error_graph, 1);
  d_checks = new QTableWidget(graphic_page);
  d_checks->setObjectName("checks");
  d_checks->hide();
  graph_row->addWidget(d_checks);
  graphic_layout->addLayout(graph_row);

  QWidget *text_page = new QWidget();
  QVBoxLayout *text_layout = new QVBoxLayout(text_page);
  d_text_output = new QPlainTextEdit(text_page);
  d_text_output->setObjectName("text_output");
  d_text_output->setFont(text_font);
  d_text_output->document()->setUndoRedoEnabled(false);
  d_text_output->setLineWrapMode(QPlainTextEdit::NoWrap);
  d_text_output->setReadOnly(true);
  text_layout->addWidget(d_text_output);
  // A capture's figures, under the table: filled once when it opens, so a
  // control change rewrites the table alone.
  d_capture_text = new QPlainTextEdit(text_page);
  d_capture_text->setObjectName("capture_text");
  d_capture_text->setFont(text_font);
  d_capture_text->setLineWrapMode(QPlainTextEdit::NoWrap);
  d_capture_text->setReadOnly(true);
  d_capture_text->hide();
  text_layout->addWidget(d_capture_text);

  d_output_tabs->addTab(graphic_page, "Graphic");
  d_output_tabs->addTab(text_page, "Text");

  QHBoxLayout *bottom_row = new QHBoxLayout();
  d_notice = new QLabel(this);
  d_notice->setObjectName("notice");
  d_notice->setFont(notice_font);
  bottom_row->addWidget(d_notice);
  bottom_row->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
  d_hold = new QPushButton(this);
  d_hold->setObjectName("hold");
  d_hold->setAutoDefault(false);
  bottom_row->addWidget(d_hold);
  d_save_frame = new QPushButton(this);
  d_save_frame->setObjectName("save_frame");
  d_save_frame->setAutoDefault(false);
  bottom_row->addWidget(d_save_frame);
  d_close_capture = new QPushButton(this);
  d_close_capture->setObjectName("close_capture");
  d_close_capture->setAutoDefault(false);
  d_close_capture->hide();
  bottom_row->addWidget(d_close_capture);
  d_open_capture = new QPushButton(this);
  d_open_capture->setObjectName("open_capture");
  d_open_capture->setAutoDefault(false);
  bottom_row->addWidget(d_open_capture);
  d_acquire = new QPushButton(this);
  d_acquire->setObjectName("acquire");
  d_acquire->setAutoDefault(false);
  bottom_row->addWidget(d_acquire);
  d_save_protocol = new QPushButton(this);
  d_save_protocol->setObjectName("save_protocol");
  d_save_protocol->setAutoDefault(false);
  bottom_row->addWidget(d_save_protocol);
  QPushButton *close_button = new QPushButton(this);
  close_button->setObjectName("close");
  close_button->setAutoDefault(false);
  bottom_row->addWidget(close_button);

  QVBoxLayout *top_layout = new QVBoxLayout(this);
  top_layout->addWidget(setup_group);
  top_layout->addWidget(d_status);
  top_layout->addWidget(output_group);
  top_layout->addWidget(NewLine(QFrame::HLine, this));
  top_layout->addLayout(bottom_row);

  // Focus runs down channel A's column before channel B's.
  setTabOrder(d_scale_pitch, d_resolution);
  QWidget *previous = d_resolution;
  for (const TSetupParameter *parameter : channel_parameters) {
    setTabOrder(previous, Box(*parameter));
    previous = Box(*parameter);
  }
  setTabOrder(previous, d_output_tabs);
  setTabOrder(d_output_tabs, d_text_output);
  setTabOrder(d_text_output, close_button);
  // "Save protocol..." and the mode button follow "Close", where the chain
  // wraps back to the pitch, so they stay reachable by keyboard without
  // splitting the chain above.
  setTabOrder(close_button, d_save_protocol);
  setTabOrder(d_save_protocol, d_scope_mode);
  setTabOrder(d_scope_mode, d_open_capture);
  setTabOrder(d_open_capture, d_acquire);
  setTabOrder(d_acquire, d_hold);
  setTabOrder(d_hold, d_save_frame);
  setTabOrder(d_save_frame, d_close_capture);
  setTabOrder(d_close_capture, d_capture_text);
  setTabOrder(d_capture_text, d_checks);

  setup_group->setTitle("Encoder Setup");
  output_group->setTitle("Output Evaluation");
  pitch_label->setText(QString(pitch.Label) + ":");
  pitch_unit->setText(pitch.Unit);
  mode_label->setText("Display Mode:");
  resolution_label->setText(QString(resolution.Label) + ":");
  resolution_unit->setText(resolution.Unit);
  channel_a_label->setText(ChannelLabel(0));
  channel_b_label->setText(ChannelLabel(1));
  d_notice->setText(SimulationNotice);
  close_button->setText("Close");
  d_save_protocol->setText("Save protocol...");

  SetScopeTitles(*d_scope, false);
  SetErrorGraphTitles(*d_error_graph);

  d_resolution->setCurrentIndex(d_resolution->findText(StartText(resolution)));
  d_scale_pitch->setCurrentIndex(d_scale_pitch->findText(StartText(pitch)));
  d_scope_mode->setChecked(false);
  d_scope_mode->setIcon(d_dual_mode_icon);

  // The only computation during construction: the slots are connected
  // afterwards, so setting the start values above ran none of them.
  const TEncoderSetup setup = Setup();
  d_channel_a = setup.Channel(0);
  d_channel_b = setup.Channel(1);
  Update_Scope();
  Update_Evaluation();

  connect(close_button, SIGNAL(clicked()), this, SLOT(close()));
  connect(d_save_protocol, SIGNAL(clicked()), this, SLOT(Save_Protocol_Dialog()));
  connect(d_gain_a, SIGNAL(valueChanged(double)), this, SLOT(Gain_A(const double)));
  connect(d_gain_b, SIGNAL(valueChanged(double)), this, SLOT(Gain_B(const double)));
  connect(d_offset_a, SIGNAL(valueChanged(double)), this, SLOT(Offset_A(const double)));
  connect(d_offset_b, SIGNAL(valueChanged(double)), this, SLOT(Offset_B(const double)));
  connect(d_phase_a, SIGNAL(valueChanged(double)), this, SLOT(Phase_A(const double)));
  connect(d_phase_b, SIGNAL(valueChanged(double)), this, SLOT(Phase_B(const double)));
  connect(d_resolution, SIGNAL(currentIndexChanged(int)), this, SLOT(Setup_Changed()));
  connect(d_scale_pitch, SIGNAL(currentIndexChanged(int)), this, SLOT(Setup_Changed()));
  connect(d_scope_mode, SIGNAL(toggled(bool)), this, SLOT(Scope_Mode_Changed(bool)));
  connect(d_output_tabs, SIGNAL(currentChanged(int)), this, SLOT(Output_Tab_Changed()));
  Set_Up_Capture();
  Set_Up_Acquisition();
}

// The acquisition's thread ends with the frame in hand before the widgets
// it delivers to go.
TVantrel::~TVantrel()
{
  d_live.reset();
}

// Each box's slot takes its channel anew from the boxes' setup.
void TVantrel::Gain_A(const double)
{
  Channel_Changed(d_gain_a);
}

void TVantrel::Gain_B(const double)
{
  Channel_Changed(d_gain_b);
}

void TVantrel::Offset_A(const double)
{
  Channel_Changed(d_offset_a);
}

void TVantrel::Offset_B(const double)
{
  Channel_Changed(d_offset_b);
}

void TVantrel::Phase_A(const double)
{
  Channel_Changed(d_phase_a);
}

void TVantrel::Phase_B(const double)
{
  Channel_Changed(d_phase_b);
}

void TVantrel::Setup_Changed()
{
  Update_Evaluation();
}

TEncoderSetup TVantrel::Setup() const
{
  TEncoderSetup setup;
  setup.Pitch = d_scale_pitch->currentText().toDouble();
  setup.Resolution = d_resolution->currentText().toDouble();
  for (const TSetupParameter *parameter : ChannelParameters())
    parameter->In(setup) = Box(*parameter)->value();
  return setup;
}

QDoubleSpinBox *TVantrel::Box(const TSetupParameter &parameter) const
{
  const std::vector<const TSetupParameter *> &parameters = ChannelParameters();
  const auto found = std::find(parameters.begin(), parameters.end(), &parameter);
  assert(found != parameters.end());
  return this->*d_channel_boxes[found - parameters.begin()];
}

// The channel of the box's parameter gets the setters and the sample
// table of the setup the boxes now show.
void TVantrel::Channel_Changed(const QDoubleSpinBox *box)
{
  for (const TSetupParameter *parameter : ChannelParameters())
    if (Box(*parameter) == box) {
      TEncoderChannel &channel = parameter->Channel == 0 ? d_channel_a : d_channel_b;
      channel = Setup().Channel(parameter->Channel);
    }
  Update_Scope();
  Update_Evaluation();
}

void TVantrel::Scope_Mode_Changed(bool checked)
{
  d_scope_mode->setIcon(checked ? d_xy_mode_icon : d_dual_mode_icon);
  // In XY mode both axes share one scale, so an ideal pair is round.
  d_scope->SetEqualAspect(checked);
  SetScopeTitles(*d_scope, checked);
  Update_Scope();
}

void TVantrel::Update_Scope()
{
  d_scope->ClearDataSets();
  // The mode lives in the button alone.
  if (!d_scope_mode->isChecked()) {
    AddCurve(d_scope, ChannelAColor, d_channel_a.SamplePoints());
    AddCurve(d_scope, ChannelBColor, d_channel_b.SamplePoints());
  } else {
    const std::vector<TVector2> a = d_channel_a.SamplePoints();
    const std::vector<TVector2> b = d_channel_b.SamplePoints();
    if (a.size() == b.size()) {
      const int set = d_scope->AddDataSet(FigureColor, CurveStyle);
      for (std::size_t i = 0; i < a.size(); ++i)
        d_scope->AddPoint(set, TVector2(a[i].y, b[i].y));
    }
  }
  Add_Capture_Samples();
  d_scope->Replot();
}

void TVantrel::Update_Evaluation()
{
  // Keep the reader's place in the table across the rewrite, including a
  // place still waiting for the hidden table to show. Once the table is
  // in view, its scroll bars hold the place.
  if (d_text_output->isVisible())
    d_pending_text_scroll.reset();
  const int cursor_position = d_text_output->textCursor().position();
  const QPoint scroll = d_pending_text_scroll.value_or(QPoint(
      d_text_output->horizontalScrollBar()->value(), d_text_output->verticalScrollBar()->value()));

  const TEncoderSetup setup = Setup();
  const double pitch = setup.Pitch;
  d_text_output->clear();
  if (!(pitch > 0.0) || !(setup.Resolution > 0.0))
    return;
  const int count = setup.Count();
  if (count < 2)
    return;

  d_interpolator.SetInterpolatorCount(count);
  bool count_error = false;
  const std::vector<TVector2> points =
      d_interpolator.Evaluate(pitch, d_channel_a, d_channel_b, &count_error);

  d_error_graph->ClearDataSets();
  if (!points.empty()) {
    // The whole report goes in with one append: line by line costs a
    // layout pass per line, and the document comes out the same.
    QString report = EvaluationHeaderLines(pitch, setup.Resolution, count).join('\n');
    report.reserve(report.size() + 28 * static_cast<int>(points.size()));
    const int set = d_error_graph->AddDataSet(FigureColor, CurveStyle);
    int number = 1;
    for (const TVector2 &point : points) {
      report += '\n';
      report += EvaluationRow(number++, point);
      d_error_graph->AddPoint(set, point);
    }
    d_text_output->appendPlainText(report);

    // A shorter report may end before the saved position.
    QTextCursor cursor = d_text_output->textCursor();
    const int end = d_text_output->document()->characterCount() - 1;
    cursor.setPosition(qBound(0, cursor_position, end));
    d_text_output->setTextCursor(cursor);
    if (d_text_output->isVisible())
      Restore_Text_Scroll(scroll);
    else
      d_pending_text_scroll = scroll;
  }

  Add_Capture_Error(setup);
  d_status->setText(count_error ? CountErrorMessage : "");
  d_error_graph->Replot();
}

// Showing the table scrolls it to its cursor; the reader's place, kept
// while it was hidden, is set after that. The editor measured its scroll
// range while hidden as if a single line fitted and does not measure it
// again when shown; switching centring on and off makes it do so.
void TVantrel::Output_Tab_Changed()
{
  if (!d_pending_text_scroll || !d_text_output->isVisible())
    return;
  d_text_output->setCenterOnScroll(true);
  d_text_output->setCenterOnScroll(false);
  Restore_Text_Scroll(*d_pending_text_scroll);
  d_pending_text_scroll.reset();
}

void TVantrel::Restore_Text_Scroll(const QPoint &scroll)
{
  d_text_output->verticalScrollBar()->setValue(scroll.y());
  d_text_output->horizontalScrollBar()->setValue(scroll.x());
}
