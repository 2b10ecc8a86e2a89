#include "windowcapture.h"

#include <QFileInfo>
#include <cmath>

#include "angles.h"
#include "captureanalysis.h"
#include "captureerror.h"
#include "captureoptions.h"
#include "capturereader.h"
#include "capturetext.h"

namespace {

// The scope's sample tables span a little over four periods.
const double ScopePeriods = 4.0;

double Folded(double Angle)
{
  const double span = ScopePeriods * TwoPi;
  const double folded = std::fmod(Angle, span);
  return folded < 0.0 ? folded + span : folded;
}

// The simulation's error is the true position less the counted one, with
// the counter set where the true angle is zero. The window shows the
// measured error in the same terms, so that model and measurement meet:
// negated, and moved by the raw angle where the corrected angle is zero.
double InSimulationTerms(double MeasuredError, double RawAngleAtZero)
{
  return WrappedAngle(-MeasuredError + RawAngleAtZero);
}

}  // namespace

bool ReadWindowCapture(const QString &Path, const TCaptureOptions &Options, TWindowCapture &Capture,
                       QString &Message)
{
  TCapture capture;
  std::string unread;
  if (!ReadCaptureFile(Path.toStdString(), Options.Read, capture, unread)) {
    Message = QString::fromStdString(unread);
    return false;
  }
  SubtractReference(capture, Options.Zero[0], Options.Zero[1]);
  TCaptureAnalysis analysis;
  const TCaptureProblem problem = AnalyseCapture(capture, TEncoderSetup(), 0.0, analysis);
  if (problem.Kind != TCaptureProblem::None) {
    Message = QString("%1: %2").arg(Path, CaptureProblemText(problem));
    return false;
  }

  Capture.FileName = QFileInfo(Path).fileName();
  Capture.Model = analysis.Model;
  for (const TCaptureWarning &warning : analysis.Warnings)
    Capture.Warnings << CaptureWarningText(warning);

  // The fitted ellipse's point at corrected angle zero.
  const TEllipse &ellipse = analysis.Ellipse;
  const double raw_at_zero =
      analysis.RawAngle(ellipse.OffsetA + ellipse.AmplitudeA * std::sin(ellipse.Phase),
                        ellipse.OffsetB + ellipse.AmplitudeB);

  // The dual-channel abscissa follows the unwrapped angle over every
  // sample, so that a capture over many periods lands on all four of the
  // scope's; a glitch does not move it. The samples start in the scope's
  // first period.
  const std::size_t n = capture.Size();
  const std::size_t stride = ThinningStride(n, MaximumWindowSamples);
  const double scale = analysis.Scale;
  const double first = analysis.CorrectedAngle(capture.A[0], capture.B[0]);
  TUnwrappedAngle unwrapped(first, first);
  std::vector<double> positions;
  for (std::size_t i = 0; i < n; ++i) {
    const double a = capture.A[i], b = capture.B[i];
    const bool outlier = analysis.Screen.Outlier[i] != 0;
    if (i % stride != 0 && outlier)
      continue;
    const double angle = analysis.CorrectedAngle(a, b);
    if (!outlier)
      unwrapped.Add(angle);
    if (i % stride != 0)
      continue;
    positions.push_back(outlier ? unwrapped.Value() + unwrapped.Step(angle) : unwrapped.Value());
    Capture.ChannelA.emplace_back(0.0, a / scale);
    Capture.ChannelB.emplace_back(0.0, b / scale);
    Capture.Figure.emplace_back(a / scale, b / scale);
    // A glitch is no position of the scale: it has no error.
    if (analysis.MeasuredValid && !outlier)
      Capture.Error.emplace_back(
          angle, InSimulationTerms(MeasuredError(analysis.RawAngle(a, b), angle), raw_at_zero));
  }
  // A start a hair below a whole turn (an angle of -0.0 read as 2 pi)
  // counts as that turn.
  const double start = TwoPi * std::floor(unwrapped.Low() / TwoPi + 0.01);
  for (std::size_t k = 0; k < positions.size(); ++k)
    Capture.ChannelA[k].x = Capture.ChannelB[k].x = Folded(positions[k] - start);
  return true;
}
