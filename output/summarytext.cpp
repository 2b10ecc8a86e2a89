#include "summarytext.h"

#include <QIODevice>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <algorithm>

#include "errorlines.h"
#include "fixedtexts.h"
#include "limitstext.h"
#include "numbertext.h"
#include "setupjson.h"
#include "textcolumns.h"

namespace {

// Labels of this block are padded to this width.
const int LabelWidth = 28;

QJsonObject UnitsObject(const TErrorUnits &Units)
{
  return {{"rad", Units.Rad},
          {"deg", Units.Deg},
          {"percent_period", Units.PercentPeriod},
          {"counts", Units.Counts},
          {"mm", Units.Mm}};
}

QJsonObject PassObject(const TPassStatistics &Pass)
{
  return {{"min", Pass.Min}, {"max", Pass.Max}, {"peak_to_peak", Pass.PeakToPeak()}};
}

// A figure that is off is null, not 0.
QJsonValue OrNull(bool On, const QJsonValue &Value)
{
  return On ? Value : QJsonValue();
}

QJsonObject SignalObject(const TSignalOptions &Signal)
{
  return {{"harmonic3", Signal.Harmonic[3]},
          {"harmonic3_phase_rad", Signal.HarmonicPhase[3]},
          {"harmonics", HarmonicsArray(Signal)},
          {"noise", OrNull(Signal.Noise > 0.0, Signal.Noise)},
          {"adc_bits", OrNull(Signal.AdcBits > 0, Signal.AdcBits)},
          {"seed", OrNull(Signal.Noise > 0.0, static_cast<double>(Signal.Seed))}};
}

QJsonObject ErrorObject(const TEvaluationSummary &S, const TInterpolationError &Error)
{
  return {{"angles", AngleCount},
          {"peak_to_peak", UnitsObject(S.InUnits(Error.PeakToPeak))},
          {"max_abs", UnitsObject(S.InUnits(Error.MaxAbs))},
          {"mean", UnitsObject(S.InUnits(Error.Mean))},
          {"rms", UnitsObject(S.InUnits(Error.Rms))}};
}

// The look-up table after the ellipse: its settings, the error it
// leaves and its entries.
QJsonValue TableObject(const TEvaluationSummary &S)
{
  if (S.Correction.Problem != TEllipseProblem::None)
    return QJsonValue();
  const TCorrectionTable &table = S.Correction.Table;
  const auto figure = [](double Rad) {
    return QJsonObject{{"rad", Rad}, {"percent_period", RadToPercentPeriod(Rad)}};
  };
  QJsonArray entries;
  for (double entry : table.Entries)
    entries.append(entry);
  return QJsonObject{
      {"size", table.Settings.Size},
      {"bits", table.Settings.Bits > 0 ? QJsonValue(table.Settings.Bits) : QJsonValue()},
      {"step_rad", table.Settings.Bits > 0 ? QJsonValue(table.Step) : QJsonValue()},
      {"clamped", static_cast<double>(table.Clamped)},
      {"error_after", QJsonObject{{"peak_to_peak", figure(table.ErrorAfter.PeakToPeak)},
                                  {"max_abs", figure(table.ErrorAfter.MaxAbs)},
                                  {"rms", figure(table.ErrorAfter.Rms)}}},
      {"entries", entries}};
}

QJsonValue CorrectionObject(const TCorrection &Correction)
{
  if (Correction.Problem != TEllipseProblem::None)
    return QJsonValue();
  return EllipseObject(Correction.Ellipse);
}

QJsonValue CorrectedErrorObject(const TEvaluationSummary &S)
{
  if (S.Correction.Problem != TEllipseProblem::None)
    return QJsonValue();
  const TInterpolationError &error = S.Correction.Error;
  QJsonObject object = ErrorObject(S, error);
  QJsonArray harmonics;
  for (int h = 0; h < HarmonicCount; ++h) {
    const THarmonic &harmonic = error.Harmonics[h];
    harmonics.append(
        QJsonObject{{"order", h + 1},
                    {"amplitude_rad", harmonic.Amplitude},
                    {"phase_rad", harmonic.Phase},
                    {"amplitude_percent_period", RadToPercentPeriod(harmonic.Amplitude)},
                    {"amplitude_mm", S.InMm(harmonic.Amplitude)}});
  }
  object["harmonics"] = harmonics;
  return object;
}

// An angle in radians in every unit's column.
QString UnitsText(const TEvaluationSummary &S, double Rad)
{
  const TErrorUnits u = S.InUnits(Rad);
  return Num(u.Rad) + Num(u.Deg) + Num(u.PercentPeriod) + Num(u.Counts) + Num(u.Mm);
}

// What a look-up table after the ellipse leaves, beside the error before
// any correction and after the ellipse alone.
QString TableText(const TEvaluationSummary &S)
{
  const TCorrectionTable &table = S.Correction.Table;
  QString title = QString("Correction table, %1 entries").arg(table.Settings.Size);
  if (table.Settings.Bits > 0)
    title += QString(", %1-bit codes of %2 rad").arg(table.Settings.Bits).arg(Figure(table.Step));
  QString text = '\n' + Heading(title + ": peak-to-peak", ErrorUnitColumns(), LabelWidth);
  const auto units = [&](double Rad) { return UnitsText(S, Rad); };
  text += Line("Before any correction", units(S.Error.PeakToPeak), LabelWidth);
  text += Line("After the ellipse", units(S.Correction.Error.PeakToPeak), LabelWidth);
  text += Line("After the table", units(table.ErrorAfter.PeakToPeak), LabelWidth);
  if (table.Clamped > 0)
    text += QString("  %1 entries clamped to the codes' range\n").arg(table.Clamped);
  return text;
}

// The coefficients a calibration would find, in the model's units and,
// for a capture's model (CaptureScale > 0), in the capture's beside them,
// and the error it leaves.
QString CorrectionText(const TEvaluationSummary &S, double CaptureScale)
{
  QString text = "\nAfter correction (offsets, gains and phase calibrated)\n";
  const TCorrection &correction = S.Correction;
  if (correction.Problem != TEllipseProblem::None)
    return text + "  The channels trace no ellipse: nothing to calibrate.\n";
  const TEllipse &e = correction.Ellipse;
  const bool capture = CaptureScale > 0.0;
  text += Heading("  Coefficients, model units",
                  capture ? QStringList{"A", "B", "A capture", "B capture"} : QStringList{"A", "B"},
                  LabelWidth);
  const auto pair = [&](double A, double B) {
    return Num(A) + Num(B) + (capture ? Num(A * CaptureScale) + Num(B * CaptureScale) : QString());
  };
  text += Line("Offset", pair(e.OffsetA, e.OffsetB), LabelWidth);
  text += Line("Amplitude", pair(e.AmplitudeA, e.AmplitudeB), LabelWidth);
  text += Line("Phase of A against B (rad)", Num(e.Phase), LabelWidth);
  text += '\n' + Heading(QString("Corrected error, %1 angles").arg(AngleCount), ErrorUnitColumns(),
                         LabelWidth);
  const auto units = [&](double Rad) { return UnitsText(S, Rad); };
  const TInterpolationError &error = correction.Error;
  text += ErrorLines(error, units, LabelWidth);
  text += "\nHarmonics of the corrected error\n";
  text += Heading("  Order", HarmonicColumns(), LabelWidth);
  for (int h = 0; h < HarmonicCount; ++h) {
    const THarmonic &harmonic = error.Harmonics[h];
    text += Line(QString::number(h + 1),
                 Num(RadToPercentPeriod(harmonic.Amplitude)) + Num(S.InMm(harmonic.Amplitude)) +
                     Num(harmonic.Phase),
                 LabelWidth);
  }
  return text + TableText(S);
}

}  // namespace

QStringList SimulationWarnings(const TEvaluationSummary &S)
{
  QStringList warnings;
  for (int c = 0; c < 2; ++c)
    if (S.Peak[c] > 1.0)
      warnings << QString("channel %1 would reach %2: the simulation clips it at +-1")
                      .arg(ChannelName(c), Figure(S.Peak[c]));
  return warnings;
}

QByteArray SummaryText(const TEvaluationSummary &S, double CaptureScale)
{
  const TEncoderSetup &setup = S.Setup;
  QString text = "Setup\n";
  text += Line("Scale pitch (mm)", Num(setup.Pitch), LabelWidth);
  text += Line("Interpolated resolution (mm)", Num(setup.Resolution), LabelWidth);
  text += Line("Interpolator count", Whole(S.Count), LabelWidth);
  for (int c = 0; c < 2; ++c) {
    text += Line(ChannelLabel(c) + " gain", Num(setup.Gain[c]), LabelWidth);
    text += Line(ChannelLabel(c) + " offset", Num(setup.Offset[c]), LabelWidth);
    text += Line(ChannelLabel(c) + " phase (rad)", Num(setup.Phase[c]), LabelWidth);
  }
  // Shown only when in use, so a plain setup's summary stays as it was.
  const TSignalOptions &signal = setup.Signal;
  for (int h = 2; h <= MaximumHarmonic; ++h) {
    if (signal.Harmonic[h] == 0.0)
      continue;
    const QString name = h == 3 ? QString("Third harmonic") : QString("Harmonic %1").arg(h);
    text += Line(name, Num(signal.Harmonic[h]), LabelWidth);
    text += Line(name + " phase (rad)", Num(signal.HarmonicPhase[h]), LabelWidth);
  }
  if (signal.Noise > 0.0) {
    text += Line("Noise (standard deviation)", Num(signal.Noise), LabelWidth);
    text += Line("Noise seed", Whole(signal.Seed), LabelWidth);
  }
  if (signal.AdcBits > 0)
    text += Line("ADC bits", Whole(signal.AdcBits), LabelWidth);

  text += "\nCount check\n";
  const auto counter = [&](long Counts) {
    return Num(Counts * S.CountSize()) + QString::asprintf(" mm (%ld counts)", Counts);
  };
  text += Line("Counter after forward pass", counter(S.CounterForward), LabelWidth);
  text += Line("Counter after return pass", counter(S.CounterReturn), LabelWidth);
  text += Line("Verdict",
               QString("  ") + (S.CountError ? CountErrorMessage : "counter returned to zero"),
               LabelWidth);

  text += '\n' + Heading("Table error column (mm)", {"min", "max", "peak-to-peak"}, LabelWidth);
  text += Line("Forward pass",
               Num(S.Forward.Min) + Num(S.Forward.Max) + Num(S.Forward.PeakToPeak()), LabelWidth);
  text += Line("Return pass", Num(S.Return.Min) + Num(S.Return.Max) + Num(S.Return.PeakToPeak()),
               LabelWidth);

  text += '\n' + Heading(QString("Interpolation error, %1 angles").arg(AngleCount),
                         ErrorUnitColumns(), LabelWidth);
  const auto units = [&](double Rad) { return UnitsText(S, Rad); };
  const TInterpolationError &e = S.Error;
  text += ErrorLines(e, units, LabelWidth);
  text += Line("Mean, first-order estimate", units(S.Estimate.Mean), LabelWidth);
  if (S.Estimate.NoiseRms > 0.0)
    text += Line("RMS from noise, estimate", units(S.Estimate.NoiseRms), LabelWidth);
  if (S.Estimate.QuantizationRms > 0.0)
    text += Line("RMS from the ADC, estimate", units(S.Estimate.QuantizationRms), LabelWidth);

  text += "\nHarmonics of the interpolation error, then their first-order estimates\n";
  text += Heading("  Order", HarmonicColumns() + HarmonicColumns(), LabelWidth);
  for (int h = 0; h < HarmonicCount; ++h) {
    const THarmonic &harmonic = e.Harmonics[h];
    const THarmonic &estimate = S.Estimate.Harmonics[h];
    text += Line(QString::number(h + 1),
                 Num(RadToPercentPeriod(harmonic.Amplitude)) + Num(S.InMm(harmonic.Amplitude)) +
                     Num(harmonic.Phase) + Num(RadToPercentPeriod(estimate.Amplitude)) +
                     Num(S.InMm(estimate.Amplitude)) + Num(estimate.Phase),
                 LabelWidth);
  }
  text += CorrectionText(S, CaptureScale);
  const QStringList warnings = SimulationWarnings(S);
  if (!warnings.isEmpty())
    text += "\nWarnings\n  " + warnings.join("\n  ") + '\n';
  return text.toUtf8();
}

QByteArray SummaryJson(const TEvaluationSummary &S, const TJudgement *Judgement)
{
  QJsonArray harmonics;
  for (int h = 0; h < HarmonicCount; ++h) {
    const THarmonic &harmonic = S.Error.Harmonics[h];
    const THarmonic &estimate = S.Estimate.Harmonics[h];
    harmonics.append(
        QJsonObject{{"order", h + 1},
                    {"amplitude_rad", harmonic.Amplitude},
                    {"phase_rad", harmonic.Phase},
                    {"amplitude_percent_period", RadToPercentPeriod(harmonic.Amplitude)},
                    {"amplitude_mm", S.InMm(harmonic.Amplitude)},
                    {"estimate_rad", estimate.Amplitude},
                    {"estimate_phase_rad", estimate.Phase}});
  }
  QJsonObject error = ErrorObject(S, S.Error);
  error["rms_noise_estimate"] =
      OrNull(S.Estimate.NoiseRms > 0.0, UnitsObject(S.InUnits(S.Estimate.NoiseRms)));
  error["rms_adc_estimate"] =
      OrNull(S.Estimate.QuantizationRms > 0.0, UnitsObject(S.InUnits(S.Estimate.QuantizationRms)));
  QJsonObject root{
      {"pitch", S.Setup.Pitch},
      {"resolution", S.Setup.Resolution},
      {"count", S.Count},
      {"count_error", S.CountError},
      {"counter_forward", S.CounterForward * S.CountSize()},
      {"counter_return", S.CounterReturn * S.CountSize()},
      {"channels", QJsonObject{{"a", ChannelObject(S.Setup, 0)}, {"b", ChannelObject(S.Setup, 1)}}},
      {"passes", QJsonObject{{"forward", PassObject(S.Forward)}, {"return", PassObject(S.Return)}}},
      {"interpolation_error", error},
      {"mean_estimate_rad", S.Estimate.Mean},
      {"harmonics", harmonics},
      {"signal", SignalObject(S.Setup.Signal)},
      {"correction", CorrectionObject(S.Correction)},
      {"corrected_error", CorrectedErrorObject(S)},
      {"table_correction", TableObject(S)},
      {"warnings", QJsonArray::fromStringList(SimulationWarnings(S))}};
  if (Judgement)
    root["checks"] = ChecksJson(*Judgement);
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

void WriteTableCsv(QIODevice &Device, const TCorrectionTable &Table)
{
  const bool coded = !Table.Codes.empty();
  QByteArray text =
      coded ? "index,angle_rad,correction_rad,code\n" : "index,angle_rad,correction_rad\n";
  const int n = static_cast<int>(Table.Entries.size());
  for (int k = 0; k < n; ++k) {
    text += QByteArray::number(k) + ',';
    AppendDigits17(text, TwoPi * k / n);
    text += ',';
    AppendDigits17(text, Table.Entries[k]);
    if (coded)
      text += ',' + QByteArray::number(static_cast<qlonglong>(Table.Codes[k]));
    text += '\n';
  }
  Device.write(text);
}
