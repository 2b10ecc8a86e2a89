#include "windowcapture.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

#include "angles.h"
#include "captureerror.h"
#include "capturetext.h"
#include "errorunits.h"
#include "numbertext.h"
#include "samplethinning.h"

namespace {

// The scope's sample tables span a little over four periods.
const double ScopePeriods = 4.0;
// A suggested reference level keeps four digits: 2048 for 12-bit counts,
// 2.500 for a 2.5 V reference.
const int ReferenceDigits = 4;
const int EllipsePoints = 360;
const char *const ColumnsHint = "Choose the columns of channels A and B (--columns).";

double Folded(double Angle)
{
  const double span = ScopePeriods * TwoPi;
  const double folded = std::fmod(Angle, span);
  return folded < 0.0 ? folded + span : folded;
}

double Rounded(double Value)
{
  return QString::number(Value, 'g', ReferenceDigits).toDouble();
}

bool Read(const QString &Path, const TCaptureReadOptions &Options, TCapture &Capture,
          QString &Message)
{
  std::string message;
  const bool read = ReadCaptureFile(Path.toStdString(), Options, Capture, message);
  Message = QString::fromStdString(message);
  return read;
}

// Whether Options read and fit the capture at Path.
bool Opens(const QString &Path, const TCaptureOptions &Options)
{
  TCapture capture;
  QString ignored;
  if (!Read(Path, Options.Read, capture, ignored))
    return false;
  SubtractReference(capture, Options.Zero[0], Options.Zero[1]);
  TCaptureAnalysis analysis;
  return AnalyseCapture(capture, TEncoderSetup(), 0.0, analysis).Kind == TCaptureProblem::None;
}

// A file that the reader refuses may need a switch: whichever opens it is
// offered.
void OfferSwitch(const QString &Path, const TCaptureOptions &Options, TCaptureRefusal &Refusal)
{
  struct TSwitch
  {
    bool TCaptureReadOptions::*Flag;
    const char *Hint;
  };
  const TSwitch switches[] = {
      {&TCaptureReadOptions::SkipBadRows, "Skip the bad rows (--skip-bad-rows) to read it."},
      {&TCaptureReadOptions::DecimalComma,
       "Read its numbers with a decimal comma "
       "(--decimal-comma)."},
  };
  for (const TSwitch &option : switches) {
    if (Options.Read.*option.Flag)
      continue;
    TCaptureOptions tried = Options;
    tried.Read.*option.Flag = true;
    if (Opens(Path, tried)) {
      Refusal.Remedy = true;
      Refusal.Hint = option.Hint;
      Refusal.Suggested = tried;
      return;
    }
  }
}

void NameColumns(const TCapture &Capture, TCaptureRefusal &Refusal)
{
  Refusal.ColumnCount = Capture.ColumnCount;
  for (const std::string &name : Capture.ColumnNames)
    Refusal.ColumnNames << QString::fromStdString(name);
}

// The samples drawn, the angles of their errors, and their place on the
// scope: the dual-channel abscissa follows the unwrapped angle over every
// sample, so that a capture over many periods lands on all four of the
// scope's periods; a glitch does not move it.
void PlaceSamples(const TCapture &Source, TWindowCapture &Capture)
{
  const TCaptureAnalysis &analysis = Capture.Analysis;
  const std::size_t n = Source.Size();
  const std::vector<std::size_t> drawn =
      DrawnSamples(n, MaximumWindowSamples, analysis.Screen.Outlier);
  const double scale = analysis.Scale;
  const double first = analysis.CorrectedAngle(Source.A[0], Source.B[0]);
  TUnwrappedAngle unwrapped(first, first);
  std::vector<double> positions;
  std::size_t next = 0;
  for (std::size_t i = 0; i < n && next < drawn.size(); ++i) {
    const double a = Source.A[i], b = Source.B[i];
    const bool outlier = analysis.Screen.Outlier[i] != 0;
    const bool draw = drawn[next] == i;
    if (outlier && !draw)
      continue;
    const double angle = analysis.CorrectedAngle(a, b);
    if (!outlier)
      unwrapped.Add(angle);
    if (!draw)
      continue;
    ++next;
    positions.push_back(outlier ? unwrapped.Value() + unwrapped.Step(angle) : unwrapped.Value());
    Capture.ChannelA.emplace_back(0.0, a / scale);
    Capture.ChannelB.emplace_back(0.0, b / scale);
    Capture.Figure.emplace_back(a / scale, b / scale);
    // A glitch is no position of the scale: it has no error.
    if (!outlier)
      Capture.Angles.emplace_back(angle, analysis.RawAngle(a, b));
  }
  // A start a hair below a whole turn (an angle of -0.0 read as 2 pi)
  // counts as that turn.
  const double start = TwoPi * std::floor(unwrapped.Low() / TwoPi + 0.01);
  for (std::size_t k = 0; k < positions.size(); ++k)
    Capture.ChannelA[k].x = Capture.ChannelB[k].x = Folded(positions[k] - start);
}

void DrawEllipse(TWindowCapture &Capture)
{
  const TEllipse &e = Capture.Analysis.Ellipse;
  const double scale = Capture.Analysis.Scale;
  for (int k = 0; k <= EllipsePoints; ++k) {
    const double t = TwoPi * k / EllipsePoints;
    Capture.Ellipse.emplace_back(e.A(t) / scale, e.B(t) / scale);
  }
}

}  // namespace

bool ReadWindowCapture(const QString &Path, const TCaptureOptions &Options, TWindowCapture &Capture,
                       TCaptureRefusal &Refusal)
{
  Refusal = TCaptureRefusal();
  Refusal.Suggested = Options;
  TCapture capture;
  if (!Read(Path, Options.Read, capture, Refusal.Reason)) {
    OfferSwitch(Path, Options, Refusal);
    NameColumns(capture, Refusal);
    // Columns asked for that the data does not have, or none of four or
    // more: the ones it has.
    const TCaptureColumns &asked = Options.Read.Columns;
    const bool unasked = asked.A == 0 && asked.NameA.empty() && capture.ColumnCount > 3;
    if (!Refusal.Remedy && capture.ColumnCount >= 2 &&
        (std::max(asked.A, asked.B) > capture.ColumnCount || unasked)) {
      Refusal.Remedy = true;
      Refusal.Hint = ColumnsHint;
      Refusal.Suggested.Read.Columns = TCaptureColumns();
    }
    return false;
  }
  NameColumns(capture, Refusal);
  SubtractReference(capture, Options.Zero[0], Options.Zero[1]);
  TCaptureAnalysis &analysis = Capture.Analysis;
  const TCaptureProblem problem = AnalyseCapture(capture, TEncoderSetup(), 0.0, analysis);
  if (problem.Kind != TCaptureProblem::None) {
    Refusal.Reason = QString("%1: %2").arg(Path, CaptureProblemText(problem));
    // Other columns may hold the channels.
    if (capture.ColumnCount > 2) {
      Refusal.Remedy = true;
      Refusal.Hint = ColumnsHint;
    }
    return false;
  }
  if (!analysis.MeasuredValid) {
    for (const TCaptureWarning &warning : analysis.Warnings)
      if (warning.Kind == TCaptureWarning::ZeroOutside)
        Refusal.Reason = QString("%1: %2").arg(Path, CaptureWarningText(warning, MessageFigure));
    Refusal.Remedy = true;
    Refusal.Hint = "Give the reference level of the signals (--zero); their centre is filled in.";
    Refusal.Suggested.Zero[0] += Rounded(analysis.Ellipse.OffsetA);
    Refusal.Suggested.Zero[1] += Rounded(analysis.Ellipse.OffsetB);
    return false;
  }

  Capture.FileName = QFileInfo(Path).fileName();
  ShowWindowCapture(Path, capture, Capture);
  return true;
}

void ShowWindowCapture(const QString &Name, const TCapture &Source, TWindowCapture &Capture)
{
  const TCaptureAnalysis &analysis = Capture.Analysis;
  const TCapture &capture = Source;
  Capture.Source = Name;
  Capture.Model = analysis.Model;
  for (const TCaptureWarning &warning : analysis.Warnings)
    Capture.Warnings << FirstCapital(CaptureWarningText(warning, MessageFigure));
  Capture.Headline = QString("%1: %2 rows, error %3 % of the period peak-to-peak")
                         .arg(Capture.FileName)
                         .arg(capture.Size())
                         .arg(MessageFigure(RadToPercentPeriod(analysis.Measured.PeakToPeak)));
  TCaptureReport report;
  report.Name = Name;
  report.Capture = capture;
  report.Analysis = analysis;
  Capture.Summary = QString::fromUtf8(CaptureFiguresText(report));
  PlaceSamples(capture, Capture);
  DrawEllipse(Capture);
}
