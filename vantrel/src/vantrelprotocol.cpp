// "Save protocol...": the PDF of the simulation or the capture on screen.
#include <QFileDialog>
#include <QSaveFile>

#include "graphwidget.h"
#include "liveacquisition.h"
#include "plotfile.h"
#include "protocolbuild.h"
#include "reproducecommand.h"
#include "vantrel.h"
#include "windowcapture.h"

bool TVantrel::SaveProtocol(const QString &Path)
{
  const TEncoderSetup setup = Setup();
  TProtocol protocol;
  TEvaluationSummary summary;
  if (d_capture) {
    TCaptureReport report;
    report.Name = d_capture->Source;
    if (d_live_raw)
      report.Capture = *d_live_raw;
    report.Analysis = d_capture->Analysis;
    report.Instrument = d_live_raw ? (d_live ? d_live->Identity() : d_live_source) : QString();
    report.Simulation = Summarize(d_capture->Model, Evaluate(d_capture->Model));
    if (d_live_raw && d_live_judgement)
      report.Judgement = &*d_live_judgement;
    summary = report.Simulation;
    protocol = CaptureProtocol(report);
    if (d_live_raw)
      protocol.Source = "Acquisition " + d_live_source;
    else {
      protocol.Source = "Capture file " + d_capture->Source;
      protocol.Sha256 = FileSha256(d_capture->Source);
    }
    // The fitted signals, simulated.
    protocol.Command = ReproduceCommand(d_capture->Model, true, true);
  } else {
    summary = Summarize(setup, Evaluate(setup));
    protocol = SimulationProtocol(summary, nullptr);
    protocol.Command = ReproduceCommand(setup, true, true);
  }
  TGraphWidget corrected;
  ShowCorrectedError(corrected, summary);
  // The Lissajous figure, whichever mode the scope is in.
  TGraphWidget figure;
  ShowScope(figure, d_channel_a, d_channel_b, true);
  if (d_capture)
    Add_Capture_Figure(&figure);
  protocol.Graphs = {
      {d_capture ? "Lissajous figure with the fitted ellipse" : "Lissajous figure of the channels",
       &figure},
      {"Interpolation error, as the window shows it", d_error_graph},
      {"Error after correction", &corrected}};

  QSaveFile file(Path);
  if (file.open(QIODevice::WriteOnly) && WriteProtocol(file, protocol) && file.commit())
    return true;
  Show_Message(false, QString("Cannot write %1: %2").arg(Path, file.errorString()),
               "The protocol was not saved.");
  return false;
}

void TVantrel::Save_Protocol_Dialog()
{
  Open_Save_Dialog("Save Protocol", "PDF files (*.pdf)", "pdf",
                   [this](const QString &Path) { SaveProtocol(Path); });
}

void TVantrel::Open_Save_Dialog(const QString &Title, const QString &Filter, const QString &Suffix,
                                std::function<void(const QString &)> Save)
{
  // Window-modal and left open, so the window keeps drawing frames.
  QFileDialog *dialog = new QFileDialog(this, Title, QString(), Filter);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setDefaultSuffix(Suffix);
  connect(dialog, &QFileDialog::fileSelected, this, std::move(Save));
  dialog->open();
}
