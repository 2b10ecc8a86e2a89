#include "capturetext.h"

#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

#include "chunkedwrite.h"
#include "errorlines.h"
#include "errorunits.h"
#include "fittedfigures.h"
#include "limitstext.h"
#include "motiontext.h"
#include "numbertext.h"
#include "reproducecommand.h"
#include "setupjson.h"
#include "textcolumns.h"

namespace {

// Labels of this block are padded to this width.
const int LabelWidth = 28;

QString Absent()
{
  return Column("-");
}

// A standard uncertainty beside its value, to two digits.
QString Uncertain(double Value)
{
  return " +- " + QString::number(Value, 'g', 2);
}

QJsonArray HarmonicsJson(const TCaptureHarmonics &Harmonics)
{
  QJsonArray array;
  for (const THarmonicEstimate &h : Harmonics.Order) {
    const QJsonValue unknown(QJsonValue::Null);
    array.append(
        QJsonObject{{"order", h.Order},
                    {"k", h.Known ? QJsonValue(h.K) : unknown},
                    {"k_uncertainty", h.Known ? QJsonValue(h.KUncertainty) : unknown},
                    {"phase_rad", h.Known ? QJsonValue(h.Phase) : unknown},
                    {"phase_uncertainty_rad", h.Known ? QJsonValue(h.PhaseUncertainty) : unknown}});
  }
  return array;
}

QString HarmonicsBasisKey(const TCaptureHarmonics &Harmonics)
{
  return Harmonics.Basis == TCaptureHarmonics::RadiusAndAngle ? "radius and angle" : "radius";
}

QString Parameter(double Value)
{
  return QString::number(Value, 'g', 10);
}

// A measured angle error in every unit the command line gives a meaning
// to; nothing at all when the measurement means nothing.
struct TUnits
{
  const TCaptureReport &Report;

  bool Valid() const { return Report.Analysis.MeasuredValid; }
  bool HasMm() const { return Valid() && Report.PitchGiven; }
  bool HasCounts() const { return HasMm() && Report.ResolutionGiven; }
  double Counts(double Rad) const { return RadToCounts(Rad, Report.Simulation.Count); }
  double Mm(double Rad) const { return RadToMm(Rad, Report.Simulation.Setup.Pitch); }

  static QString Field(bool Given, double Value) { return Given ? Num(Value) : Absent(); }
  static QJsonValue Json(bool Given, double Value)
  {
    return Given ? QJsonValue(Value) : QJsonValue();
  }

  QString Text(double Rad) const
  {
    return Field(Valid(), Rad) + Field(Valid(), RadToDeg(Rad)) +
           Field(Valid(), RadToPercentPeriod(Rad)) + Field(HasCounts(), Counts(Rad)) +
           Field(HasMm(), Mm(Rad));
  }
  QJsonObject Json(double Rad) const
  {
    return {{"rad", Json(Valid(), Rad)},
            {"deg", Json(Valid(), RadToDeg(Rad))},
            {"percent_period", Json(Valid(), RadToPercentPeriod(Rad))},
            {"counts", Json(HasCounts(), Counts(Rad))},
            {"mm", Json(HasMm(), Mm(Rad))}};
  }
};

QString LineList(const std::vector<std::uint32_t> &Lines, std::size_t Count)
{
  QStringList lines;
  for (std::uint32_t line : Lines)
    lines << QString::number(line);
  return QString("line%1 %2%3")
      .arg(Lines.size() == 1 ? "" : "s", lines.join(", "), Count > Lines.size() ? ", ..." : "");
}

QString EllipseProblemText(TEllipseProblem Problem)
{
  switch (Problem) {
    case TEllipseProblem::ConstantA:
    case TEllipseProblem::ConstantB:
      break;
    case TEllipseProblem::Singular:
      return "the samples lie on a line or at a few points: they trace no ellipse";
    case TEllipseProblem::NotElliptic:
      return "the fitted conic is a hyperbola or a parabola, not an ellipse";
    case TEllipseProblem::Empty:
      return "the fitted conic is an empty ellipse: the samples trace no ellipse";
    case TEllipseProblem::Degenerate:
      return "the fitted ellipse is degenerate: the samples trace no ellipse";
    case TEllipseProblem::None:
      break;
  }
  return QString();
}

}  // namespace

QString CaptureProblemText(const TCaptureProblem &Problem)
{
  switch (Problem.Kind) {
    case TCaptureProblem::TooFewRows:
      return QString("only %1 data row%2; a fit needs at least %3")
          .arg(Problem.Rows)
          .arg(Problem.Rows == 1 ? "" : "s")
          .arg(MinimumCaptureRows);
    case TCaptureProblem::NoEllipse: {
      // Most often other columns hold the channels.
      const int *column = Problem.Column;
      const int constant = Problem.Ellipse == TEllipseProblem::ConstantA   ? 0
                           : Problem.Ellipse == TEllipseProblem::ConstantB ? 1
                                                                           : -1;
      if (column[0] == 0)
        return constant < 0 ? EllipseProblemText(Problem.Ellipse)
                            : QString("channel %1 is constant: the samples trace no ellipse")
                                  .arg(constant == 0 ? "A" : "B");
      if (constant >= 0)
        return QString(
                   "channel %1 (column %2) is constant: the samples trace no ellipse; "
                   "choose the columns with --columns")
            .arg(constant == 0 ? "A" : "B")
            .arg(column[constant]);
      return QString("%1; columns %2 and %3 were read, choose others with --columns")
          .arg(EllipseProblemText(Problem.Ellipse))
          .arg(column[0])
          .arg(column[1]);
    }
    case TCaptureProblem::ShortSweep:
      return QString("the samples cover %1 of a signal period; a fit needs at least a quarter")
          .arg(Figure(Problem.Periods));
    case TCaptureProblem::None:
      break;
  }
  return QString();
}

QString CaptureWarningText(const TCaptureWarning &Warning, QString (*Figure)(double))
{
  const char *const channel = Warning.Channel == 0 ? "A" : "B";
  switch (Warning.Kind) {
    case TCaptureWarning::ShortCoverage:
      return QString("the samples cover only %1 of a signal period").arg(Figure(Warning.Value));
    case TCaptureWarning::Clips:
      return QString(
                 "channel %1 reaches %2 of --amplitude: it clips in the simulation, "
                 "as the window's channels do")
          .arg(channel, Figure(Warning.Value));
    case TCaptureWarning::OutOfRange: {
      const TParameterRange &range = *Warning.Parameter->Range;
      return QString("the model's %1 %2 %3 is outside the window's range %4 ... %5")
          .arg(QString::fromStdString(Warning.Parameter->Quantity()), channel,
               Figure(Warning.Value), Figure(range.Minimum), Figure(range.Maximum));
    }
    case TCaptureWarning::LastLineCut:
      return "the last line has no line end: it was cut off and is left out";
    case TCaptureWarning::Clipped:
      return QString("%1 samples of channel %2 sit at its %3 value %4: the signal is clipped")
          .arg(Warning.Count)
          .arg(channel, Warning.Top ? "largest" : "smallest", Figure(Warning.Value));
    case TCaptureWarning::Outliers:
      return QString(
                 "%1 sample%2 far off the fitted ellipse (%3) %4 left out of the fit and "
                 "the error")
          .arg(Warning.Count)
          .arg(Warning.Count == 1 ? "" : "s", LineList(Warning.Lines, Warning.Count),
               Warning.Count == 1 ? "is" : "are");
    case TCaptureWarning::ManyOutliers:
      return QString("the fit is unreliable: %1 % of the samples are outliers")
          .arg(Figure(Warning.Value));
    case TCaptureWarning::LargeResidual:
      return QString(
                 "the fit is unreliable: the fitted samples stray %1 % of the amplitude "
                 "from the ellipse")
          .arg(Figure(Warning.Value));
    case TCaptureWarning::ZeroOutside:
      return QString(
                 "the signals' centre (%1, %2) lies outside their Lissajous figure: an "
                 "interpolator cannot count them; give the reference level with --zero")
          .arg(Figure(Warning.Value), Figure(Warning.Other));
    case TCaptureWarning::Uncertain:
      if (Warning.Fitted == TCaptureWarning::FittedPhase)
        return QString(
                   "the fit is unreliable: 2u of the phase error is %1 rad (too little of a "
                   "period, or noise)")
            .arg(Figure(Warning.Value));
      return QString(
                 "the fit is unreliable: 2u of %1 %2 is %3 % of the amplitude (too little of "
                 "a period, or noise)")
          .arg(Warning.Fitted == TCaptureWarning::FittedOffset ? "offset" : "amplitude", channel,
               Figure(Warning.Value));
  }
  return QString();
}

QString HarmonicsBasisText(const TCaptureHarmonics &Harmonics)
{
  if (Harmonics.Basis == TCaptureHarmonics::RadiusAndAngle)
    return "from the radius and the angle against time";
  const QString alone = "from the radius alone, the third taken as if there were no fifth";
  switch (Harmonics.Refusal) {
    case TCaptureHarmonics::NotOneWay:
      return alone + " (the time column is of no use: the motion reverses)";
    case TCaptureHarmonics::FewPeriods:
      return alone + QString(" (the time column is of no use: under %1 periods one way)")
                         .arg(MinimumSteadyPeriods);
    case TCaptureHarmonics::NotSteady:
      return alone + QString(
                         " (the time column is of no use: the motion is not steady, its angle "
                         "departs %1 rad RMS from a smooth run)")
                         .arg(Harmonics.AngleResidual, 0, 'g', 3);
    case TCaptureHarmonics::None:
      break;
  }
  return alone;
}

QString TCaptureReport::Command() const
{
  return ReproduceCommand(Analysis.Model, PitchGiven, ResolutionGiven);
}

QByteArray CaptureFiguresText(const TCaptureReport &R)
{
  const TCaptureAnalysis &a = R.Analysis;
  const TEllipse &e = a.Ellipse;
  QString text = "Capture " + R.Name + '\n';
  text += Line("Rows read", Whole(R.Capture->Size()), LabelWidth);
  text += Line("Header lines skipped", Whole(R.Capture->HeaderLines), LabelWidth);
  text += Line("Bad rows skipped", Whole(R.Capture->BadRows), LabelWidth);
  text += Line("Outliers left out", Whole(a.Screen.Outliers), LabelWidth);
  text += Line("Clipped samples A, B", QString::asprintf(" %9zu, %zu", a.Clipped[0], a.Clipped[1]),
               LabelWidth);
  text +=
      Line("Reference level A, B",
           QString(" %1, %2").arg(Figure(R.Capture->Zero[0]), 9).arg(Figure(R.Capture->Zero[1])),
           LabelWidth);
  text +=
      Line("Columns A, B",
           QString::asprintf(" %9d, %d", R.Capture->Columns.A, R.Capture->Columns.B), LabelWidth);
  text += Line("Signal periods covered", Num(a.Periods), LabelWidth);
  text += MotionText(a.Motion, R.PitchGiven ? R.Simulation.Setup.Pitch : 0.0, LabelWidth);

  text += "\nFitted ellipse, in the capture's units\n";
  const TEllipseUncertainty &u = a.Uncertainty;
  text += Line("Offset A", Num(e.OffsetA) + Uncertain(u.OffsetA), LabelWidth);
  text += Line("Offset B", Num(e.OffsetB) + Uncertain(u.OffsetB), LabelWidth);
  text += Line("Amplitude A", Num(e.AmplitudeA) + Uncertain(u.AmplitudeA), LabelWidth);
  text += Line("Amplitude B", Num(e.AmplitudeB) + Uncertain(u.AmplitudeB), LabelWidth);
  text += Line("Phase error of A (rad)", Num(e.Phase) + Uncertain(u.Phase), LabelWidth);
  text += Line("Phase error of A (deg)", Num(RadToDeg(e.Phase)) + Uncertain(RadToDeg(u.Phase)),
               LabelWidth);
  text += Line("Fit residual (% amplitude)", Num(a.ResidualPercent), LabelWidth);

  text += "\nWaveform distortion, from the corrected radius\n";
  text += Line("Third harmonic (of the sine)", Num(a.Harmonic3) + Uncertain(a.Harmonic3Uncertainty),
               LabelWidth);
  text += Line("Third harmonic phase (rad)", Num(a.Harmonic3Phase), LabelWidth);
  text += Line("Left after correction (rad)", Num(a.CorrectedHarmonic4.Amplitude), LabelWidth);
  text += "\nWaveform harmonics (of the sine), " + HarmonicsBasisText(a.Harmonics) + '\n';
  for (const THarmonicEstimate &h : a.Harmonics.Order) {
    if (!h.Known) {
      text += Line(QString("Harmonic %1, K").arg(h.Order), " unknown", LabelWidth);
      continue;
    }
    text += Line(QString("Harmonic %1, K").arg(h.Order), Num(h.K) + Uncertain(h.KUncertainty),
                 LabelWidth);
    text += Line(QString("Harmonic %1 phase (rad)").arg(h.Order),
                 Num(h.Phase) + Uncertain(h.PhaseUncertainty), LabelWidth);
  }

  text += QString("\nModel parameters, in the simulation's range: capture divided by %1\n")
              .arg(Parameter(a.Scale));
  for (const TSetupParameter &parameter : SetupParameters())
    if (parameter.Part == TParameterPart::Channel) {
      // "Gain A", ..., "Phase B (rad)"
      QString label = QString("%1 %2").arg(parameter.Label, parameter.Channel == 0 ? "A" : "B");
      if (*parameter.Unit)
        label += QString(" (%1)").arg(parameter.Unit);
      text += Line(label.toUtf8().constData(), Num(parameter.In(a.Model)), LabelWidth);
    }
  text += "  " + R.Command() + '\n';

  const TUnits units{R};
  text += QString("\nMeasured interpolation error over %1 samples, their noise left out\n")
              .arg(R.Capture->Size() - a.Screen.Outliers);
  text += Heading(QString(), ErrorUnitColumns(), LabelWidth);
  const TInterpolationError &error = a.Measured;
  text += ErrorLines(
      error, [&](double Rad) { return units.Text(Rad); }, LabelWidth);
  text += Line("Peak-to-peak u (k = 1)", units.Text(a.PeakToPeakUncertainty), LabelWidth);
  text += "\nHarmonics of the measured error, against the corrected angle\n";
  text += Heading("  Order", HarmonicColumns(), LabelWidth);
  for (int h = 0; h < HarmonicCount; ++h) {
    const THarmonic &harmonic = error.Harmonics[h];
    text += Line(QString::number(h + 1),
                 TUnits::Field(units.Valid(), RadToPercentPeriod(harmonic.Amplitude)) +
                     TUnits::Field(units.HasMm(), units.Mm(harmonic.Amplitude)) +
                     TUnits::Field(units.Valid(), harmonic.Phase),
                 LabelWidth);
  }
  if (R.Frames && R.Frames->Count() > 1) {
    text += QString("\nRepeatability over %1 frames, the last one shown above\n")
                .arg(R.Frames->Count());
    text += Heading(QString(), {"mean", "sd"}, LabelWidth);
    for (int k = 0; k < FittedFigureCount; ++k) {
      const TFigureSpread spread = R.Frames->Spread(k);
      text += Line(FittedFigures()[k].Label, Num(spread.Mean) + Num(spread.Sd), LabelWidth);
    }
  }
  if (!a.Warnings.empty()) {
    text += "\nWarnings\n";
    for (const TCaptureWarning &warning : a.Warnings)
      text += "  " + CaptureWarningText(warning) + '\n';
  }
  return text.toUtf8();
}

QByteArray CaptureSummaryText(const TCaptureReport &R)
{
  // The verdicts judge the capture: beside its figures, before the
  // simulation of its model.
  QByteArray text = CaptureFiguresText(R);
  if (R.Judgement)
    text += ChecksText(*R.Judgement).toUtf8();
  return text + "\nSimulation of the model parameters\n\n" +
         SummaryText(R.Simulation, R.Analysis.Scale);
}

QByteArray CaptureSummaryJson(const TCaptureReport &R)
{
  const TCaptureAnalysis &a = R.Analysis;
  QJsonObject ellipse = EllipseObject(a.Ellipse);
  ellipse["phase_deg"] = RadToDeg(a.Ellipse.Phase);
  const TEncoderSetup &m = a.Model;
  const TUnits units{R};
  QJsonArray harmonics;
  for (int h = 0; h < HarmonicCount; ++h) {
    const THarmonic &harmonic = a.Measured.Harmonics[h];
    harmonics.append(
        QJsonObject{{"order", h + 1},
                    {"amplitude_rad", TUnits::Json(units.Valid(), harmonic.Amplitude)},
                    {"phase_rad", TUnits::Json(units.Valid(), harmonic.Phase)},
                    {"amplitude_percent_period",
                     TUnits::Json(units.Valid(), RadToPercentPeriod(harmonic.Amplitude))},
                    {"amplitude_mm", TUnits::Json(units.HasMm(), units.Mm(harmonic.Amplitude))}});
  }
  QJsonArray warnings;
  for (const TCaptureWarning &warning : a.Warnings)
    warnings.append(CaptureWarningText(warning));
  QJsonObject uncertainty;
  for (const TFittedFigure &figure : FittedFigures())
    uncertainty[figure.Key] = figure.UncertaintyOf(a);
  QJsonObject root{
      {"capture", R.Name},
      {"rows", static_cast<double>(R.Capture->Size())},
      {"header_lines", static_cast<double>(R.Capture->HeaderLines)},
      {"bad_rows", static_cast<double>(R.Capture->BadRows)},
      {"outliers", static_cast<double>(a.Screen.Outliers)},
      {"clipped_a", static_cast<double>(a.Clipped[0])},
      {"clipped_b", static_cast<double>(a.Clipped[1])},
      {"last_line_cut", R.Capture->LastLineCut},
      {"zero", QJsonArray{R.Capture->Zero[0], R.Capture->Zero[1]}},
      {"columns", QJsonArray{R.Capture->Columns.A, R.Capture->Columns.B}},
      {"periods", a.Periods},
      {"motion", MotionJson(a.Motion, R.PitchGiven ? R.Simulation.Setup.Pitch : 0.0)},
      {"ellipse", ellipse},
      {"uncertainty", uncertainty},
      {"scale", a.Scale},
      {"model", ChannelParametersObject(m)},
      {"command", R.Command()},
      {"measured_error",
       QJsonObject{{"samples", static_cast<double>(R.Capture->Size() - a.Screen.Outliers)},
                   {"peak_to_peak", units.Json(a.Measured.PeakToPeak)},
                   {"max_abs", units.Json(a.Measured.MaxAbs)},
                   {"mean", units.Json(a.Measured.Mean)},
                   {"rms", units.Json(a.Measured.Rms)},
                   {"harmonics", harmonics}}},
      {"fit_residual_percent", a.ResidualPercent},
      {"distortion", QJsonObject{{"harmonic3", a.Harmonic3},
                                 {"harmonic3_phase_rad", a.Harmonic3Phase},
                                 {"corrected_harmonic4_rad", a.CorrectedHarmonic4.Amplitude},
                                 {"corrected_harmonic4_phase_rad", a.CorrectedHarmonic4.Phase},
                                 {"harmonics_from", HarmonicsBasisKey(a.Harmonics)},
                                 {"harmonics", HarmonicsJson(a.Harmonics)}}},
      {"warnings", warnings},
      {"simulation", QJsonDocument::fromJson(SummaryJson(R.Simulation)).object()}};
  if (R.Judgement)
    root["checks"] = ChecksJson(*R.Judgement);
  if (!R.Instrument.isEmpty())
    root["instrument"] = R.Instrument;
  if (R.Frames) {
    QJsonObject frames{{"count", static_cast<double>(R.Frames->Count())}};
    for (int k = 0; k < FittedFigureCount; ++k) {
      const TFigureSpread spread = R.Frames->Spread(k);
      frames[FittedFigures()[k].Key] = QJsonObject{{"mean", spread.Mean}, {"sd", spread.Sd}};
    }
    root["frames"] = frames;
  }
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

void WriteCaptureCsv(QIODevice &Device, const TCaptureReport &R)
{
  const TCaptureView &c = *R.Capture;
  const TCaptureAnalysis &a = R.Analysis;
  QByteArray text = "row,a,b,angle_raw,angle_corrected,error_rad";
  text += R.PitchGiven ? ",error_mm\n" : "\n";
  for (std::size_t i = 0; i < c.Size(); ++i) {
    const TSampleAngles angles = a.Angles(c.A[i], c.B[i]);
    text += QByteArray::number(c.Line[i]);
    for (double value : {c.A[i], c.B[i], angles.Raw, angles.Corrected, angles.Error}) {
      text += ',';
      AppendDigits17(text, value);
    }
    if (R.PitchGiven) {
      text += ',';
      AppendDigits17(text, RadToMm(angles.Error, R.Simulation.Setup.Pitch));
    }
    text += '\n';
    WriteFullChunk(Device, text);
  }
  Device.write(text);
}
