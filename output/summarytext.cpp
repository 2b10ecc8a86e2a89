#include "summarytext.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <algorithm>

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

QJsonObject ChannelObject(const TEncoderSetup &Setup, int Index)
{
  return {
      {"gain", Setup.Gain[Index]}, {"offset", Setup.Offset[Index]}, {"phase", Setup.Phase[Index]}};
}

QJsonObject PassObject(const TPassStatistics &Pass)
{
  return {{"min", Pass.Min}, {"max", Pass.Max}, {"peak_to_peak", Pass.PeakToPeak()}};
}

}  // namespace

QByteArray SummaryText(const TEvaluationSummary &S)
{
  const TEncoderSetup &setup = S.Setup;
  QString text = "Setup\n";
  text += Line("Scale pitch (mm)", Num(setup.Pitch), LabelWidth);
  text += Line("Interpolated resolution (mm)", Num(setup.Resolution), LabelWidth);
  text += Line("Interpolator count", QString::asprintf(" %12d", S.Count), LabelWidth);
  const char *const names[2][3] = {
      {"Channel A (SIN) gain", "Channel A (SIN) offset", "Channel A (SIN) phase (rad)"},
      {"Channel B (COS) gain", "Channel B (COS) offset", "Channel B (COS) phase (rad)"}};
  for (int c = 0; c < 2; ++c) {
    text += Line(names[c][0], Num(setup.Gain[c]), LabelWidth);
    text += Line(names[c][1], Num(setup.Offset[c]), LabelWidth);
    text += Line(names[c][2], Num(setup.Phase[c]), LabelWidth);
  }

  text += "\nCount check\n";
  const auto counter = [&](long Counts) {
    return Num(Counts * S.CountSize()) + QString::asprintf(" mm (%ld counts)", Counts);
  };
  text += Line("Counter after forward pass", counter(S.CounterForward), LabelWidth);
  text += Line("Counter after return pass", counter(S.CounterReturn), LabelWidth);
  text += Line("Verdict",
               S.CountError ? "  Scale count not zero on return" : "  counter returned to zero",
               LabelWidth);

  text += '\n' + Heading("Table error column (mm)", {"min", "max", "peak-to-peak"}, LabelWidth);
  text += Line("Forward pass",
               Num(S.Forward.Min) + Num(S.Forward.Max) + Num(S.Forward.PeakToPeak()), LabelWidth);
  text += Line("Return pass", Num(S.Return.Min) + Num(S.Return.Max) + Num(S.Return.PeakToPeak()),
               LabelWidth);

  text += '\n' + Heading(QString("Interpolation error, %1 angles").arg(AngleCount),
                         {"rad", "deg", "% period", "counts", "mm"}, LabelWidth);
  const auto units = [&](double Rad) {
    const TErrorUnits u = S.InUnits(Rad);
    return Num(u.Rad) + Num(u.Deg) + Num(u.PercentPeriod) + Num(u.Counts) + Num(u.Mm);
  };
  const TInterpolationError &e = S.Error;
  text += Line("Peak-to-peak", units(e.PeakToPeak), LabelWidth);
  text += Line("Largest magnitude", units(e.MaxAbs), LabelWidth);
  text += Line("Mean (bias)", units(e.Mean), LabelWidth);
  text += Line("RMS", units(e.Rms), LabelWidth);
  text += Line("Mean, first-order estimate", units(S.Estimate.Mean), LabelWidth);

  text += "\nHarmonics of the interpolation error, then their first-order estimates\n";
  text += Heading("  Order", {"% period", "mm", "phase rad", "% period", "mm", "phase rad"},
                  LabelWidth);
  for (int h = 0; h < HarmonicCount; ++h) {
    const THarmonic &harmonic = e.Harmonics[h];
    const THarmonic &estimate = S.Estimate.Harmonics[h];
    const QByteArray label = QByteArray::number(h + 1);
    text += Line(label.constData(),
                 Num(RadToPercentPeriod(harmonic.Amplitude)) + Num(S.InMm(harmonic.Amplitude)) +
                     Num(harmonic.Phase) + Num(RadToPercentPeriod(estimate.Amplitude)) +
                     Num(S.InMm(estimate.Amplitude)) + Num(estimate.Phase),
                 LabelWidth);
  }
  return text.toUtf8();
}

QByteArray SummaryJson(const TEvaluationSummary &S)
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
  const QJsonObject root{
      {"pitch", S.Setup.Pitch},
      {"resolution", S.Setup.Resolution},
      {"count", S.Count},
      {"count_error", S.CountError},
      {"counter_forward", S.CounterForward * S.CountSize()},
      {"counter_return", S.CounterReturn * S.CountSize()},
      {"channels", QJsonObject{{"a", ChannelObject(S.Setup, 0)}, {"b", ChannelObject(S.Setup, 1)}}},
      {"passes", QJsonObject{{"forward", PassObject(S.Forward)}, {"return", PassObject(S.Return)}}},
      {"interpolation_error",
       QJsonObject{{"angles", AngleCount},
                   {"peak_to_peak", UnitsObject(S.InUnits(S.Error.PeakToPeak))},
                   {"max_abs", UnitsObject(S.InUnits(S.Error.MaxAbs))},
                   {"mean", UnitsObject(S.InUnits(S.Error.Mean))},
                   {"rms", UnitsObject(S.InUnits(S.Error.Rms))}}},
      {"mean_estimate_rad", S.Estimate.Mean},
      {"harmonics", harmonics}};
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}
