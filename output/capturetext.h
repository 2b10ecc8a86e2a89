#ifndef CAPTURETEXT_H
#define CAPTURETEXT_H

#include <QByteArray>
#include <QString>
#include <optional>

#include "capture.h"
#include "captureanalysis.h"
#include "numbertext.h"
#include "repeatability.h"
#include "signallimits.h"
#include "summarytext.h"

class QIODevice;

// One line each, for the program's messages and the reports.
QString CaptureProblemText(const TCaptureProblem &Problem);
// The warnings write their figures with Figure (six digits) or another
// form, such as the window's MessageFigure.
QString CaptureWarningText(const TCaptureWarning &Warning, QString (*Figure)(double) = ::Figure);

// Everything the capture's summary, JSON and CSV show.
struct TCaptureReport
{
  QString Name;
  // None where the window keeps no samples of a file it opened.
  std::optional<TCaptureView> Capture;
  TCaptureAnalysis Analysis;
  // The simulation's summary for the model parameters.
  TEvaluationSummary Simulation;
  // Errors are shown in mm only for a pitch given, in counts only for a
  // resolution given: the defaults say nothing about this scale.
  bool PitchGiven = false;
  bool ResolutionGiven = false;
  // An acquisition's instrument, as it names itself, and how its fits
  // repeated over the frames; empty and null for a file.
  QString Instrument;
  const TRepeatability *Frames = nullptr;
  // The capture judged against --limits; null without.
  const TJudgement *Judgement = nullptr;

  // The command line that simulates the fitted signals.
  QString Command() const;
};

// Where a capture's harmonic estimate comes from, as a phrase.
QString HarmonicsBasisText(const TCaptureHarmonics &Harmonics);

// The figures of the capture alone, then with the simulation of its model.
QByteArray CaptureFiguresText(const TCaptureReport &Report);
QByteArray CaptureSummaryText(const TCaptureReport &Report);
QByteArray CaptureSummaryJson(const TCaptureReport &Report);
// One row per sample: row,a,b,angle_raw,angle_corrected,error_rad and
// error_mm with a pitch; 17 significant digits.
void WriteCaptureCsv(QIODevice &Device, const TCaptureReport &Report);

#endif
