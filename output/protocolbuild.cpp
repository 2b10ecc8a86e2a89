#include "protocolbuild.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRegularExpression>

#include "errorunits.h"
#include "fixedtexts.h"
#include "graphstyle.h"
#include "limitstext.h"
#include "numbertext.h"
#include "textcolumns.h"
#include "vantrelversion.h"

namespace {

QString Optional(double Value)
{
  return Given(Value) ? Figure(Value) : QString("-");
}

TProtocolTable ChecksTable(const TJudgement &Judgement)
{
  TProtocolTable table{"Signal-quality limits " + QString::fromStdString(Judgement.SetName),
                       {"Check", "Value", "+- 2u", "Low", "High", "Verdict"},
                       {}};
  for (const TCheck &check : Judgement.Checks) {
    const TJudgedValue &v = check.Value;
    const bool known = Given(v.Value);
    table.Rows.push_back({LimitLabel(check.Name, check.Quantity), Optional(v.Value),
                          known ? Figure(2.0 * v.Uncertainty) : "-",
                          Optional(check.Band ? check.Band->Low : NoValue),
                          Optional(check.Band ? check.Band->High : NoValue),
                          VerdictText(check.Verdict)});
  }
  return table;
}

void AddJudgement(TProtocol &Protocol, const TJudgement *Judgement)
{
  if (!Judgement)
    return;
  Protocol.Checks = ChecksTable(*Judgement);
  const TVerdict overall = Judgement->Count(TVerdict::Fail) > 0        ? TVerdict::Fail
                           : Judgement->Count(TVerdict::Undecided) > 0 ? TVerdict::Undecided
                                                                       : TVerdict::Pass;
  Protocol.Verdict = VerdictText(overall) + " (" + JudgementLine(*Judgement) + ")";
  Protocol.Warnings << JudgementWarnings(*Judgement);
}

// Each order's amplitude in % of the period and its phase, before and
// after the calibration.
TProtocolTable HarmonicsTable(const TInterpolationError &Before, const TCorrection &After)
{
  const bool corrected = After.Problem == TEllipseProblem::None;
  TProtocolTable table{"Harmonics of the interpolation error",
                       {"Order", "% period", "Phase (rad)", "Corrected, % period", "Phase (rad)"},
                       {}};
  for (int h = 0; h < HarmonicCount; ++h) {
    const THarmonic &b = Before.Harmonics[h], &a = After.Error.Harmonics[h];
    table.Rows.push_back({QString::number(h + 1), Figure(RadToPercentPeriod(b.Amplitude)),
                          Figure(b.Phase),
                          corrected ? Figure(RadToPercentPeriod(a.Amplitude)) : "-",
                          corrected ? Figure(a.Phase) : "-"});
  }
  return table;
}

// The calibration's coefficients in the model's units and, for a capture
// (Scale > 0), in the capture's.
TProtocolTable CoefficientsTable(const TCorrection &Correction, double Scale)
{
  TProtocolTable table{
      "Correction coefficients (offsets, gains and phase calibrated)", {"", "A", "B"}, {}};
  if (Correction.Problem != TEllipseProblem::None) {
    table.Rows.push_back({"The channels trace no ellipse: nothing to calibrate."});
    return table;
  }
  const bool capture = Scale > 0.0;
  if (capture)
    table.Columns << "A capture"
                  << "B capture";
  const TEllipse &e = Correction.Ellipse;
  const auto pair = [&](const QString &Label, double A, double B) {
    QStringList row = {Label, Figure(A), Figure(B)};
    if (capture)
      row << Figure(A * Scale) << Figure(B * Scale);
    table.Rows.push_back(row);
  };
  pair("Offset", e.OffsetA, e.OffsetB);
  pair("Amplitude", e.AmplitudeA, e.AmplitudeB);
  table.Rows.push_back({"Phase of A against B (rad)", Figure(e.Phase)});
  table.Rows.push_back({"Error left, peak-to-peak (% period)",
                        Figure(RadToPercentPeriod(Correction.Error.PeakToPeak))});
  return table;
}

TProtocol Common(const QString &Title)
{
  TProtocol protocol;
  protocol.Title = Title;
  protocol.Date = ProtocolDate();
  protocol.Version = VantrelVersion;
  return protocol;
}

}  // namespace

TProtocol SimulationProtocol(const TEvaluationSummary &S, const TJudgement *Judgement)
{
  TProtocol protocol = Common("Vantrel protocol: simulated encoder");
  protocol.Source = "Simulation";
  const TEncoderSetup &setup = S.Setup;
  TProtocolTable parameters{"Setup", {"", "Value"}, {}};
  parameters.Rows = {{"Scale pitch (mm)", Figure(setup.Pitch)},
                     {"Interpolated resolution (mm)", Figure(setup.Resolution)},
                     {"Interpolator count", QString::number(S.Count)}};
  for (int c = 0; c < 2; ++c) {
    parameters.Rows.push_back({ChannelLabel(c) + " gain", Figure(setup.Gain[c])});
    parameters.Rows.push_back({ChannelLabel(c) + " offset", Figure(setup.Offset[c])});
    parameters.Rows.push_back({ChannelLabel(c) + " phase (rad)", Figure(setup.Phase[c])});
  }
  // Each harmonic of the waveform set, K and its phase.
  for (int h = 2; h <= MaximumHarmonic; ++h)
    if (setup.Signal.Harmonic[h] != 0.0)
      parameters.Rows.push_back(
          {QString("Harmonic %1, K and phase (rad)").arg(h),
           Figure(setup.Signal.Harmonic[h]) + ", " + Figure(setup.Signal.HarmonicPhase[h])});
  parameters.Rows.push_back({"Noise (standard deviation)", Figure(setup.Signal.Noise)});
  parameters.Rows.push_back({"ADC bits", setup.Signal.AdcBits > 0
                                             ? QString::number(setup.Signal.AdcBits)
                                             : QString("-")});
  TProtocolTable error{
      QString("Interpolation error, %1 angles").arg(AngleCount), {"", "rad", "% period", "mm"}, {}};
  const auto row = [&](const QString &Label, double Rad) {
    error.Rows.push_back(
        {Label, Figure(Rad), Figure(RadToPercentPeriod(Rad)), Figure(S.InMm(Rad))});
  };
  row("Peak-to-peak", S.Error.PeakToPeak);
  row("Largest magnitude", S.Error.MaxAbs);
  row("Mean", S.Error.Mean);
  row("RMS", S.Error.Rms);
  protocol.Figures = {parameters, error};
  AddJudgement(protocol, Judgement);
  protocol.Harmonics = HarmonicsTable(S.Error, S.Correction);
  protocol.Coefficients = CoefficientsTable(S.Correction, 0.0);
  protocol.Warnings << SimulationWarnings(S);
  if (S.CountError)
    protocol.Warnings << CountErrorMessage;
  return protocol;
}

TProtocol CaptureProtocol(const TCaptureReport &Report)
{
  const bool acquired = !Report.Instrument.isEmpty();
  TProtocol protocol =
      Common(acquired ? "Vantrel protocol: acquisition" : "Vantrel protocol: capture");
  protocol.Source = Report.Name;
  protocol.Instrument = Report.Instrument;
  const TCaptureAnalysis &a = Report.Analysis;
  const TEllipse &e = a.Ellipse;
  const TEllipseUncertainty &u = a.Uncertainty;
  TProtocolTable fitted{"Fitted ellipse, in the capture's units", {"", "Value", "u (k = 1)"}, {}};
  fitted.Rows = {
      {"Offset A", Figure(e.OffsetA), Figure(u.OffsetA)},
      {"Offset B", Figure(e.OffsetB), Figure(u.OffsetB)},
      {"Amplitude A", Figure(e.AmplitudeA), Figure(u.AmplitudeA)},
      {"Amplitude B", Figure(e.AmplitudeB), Figure(u.AmplitudeB)},
      {"Phase error of A (rad)", Figure(e.Phase), Figure(u.Phase)},
      {"Third harmonic (of the sine)", Figure(a.Harmonic3), Figure(a.Harmonic3Uncertainty)},
      {"Fit residual (% amplitude)", Figure(a.ResidualPercent), "-"},
      {"Outliers left out", QString::number(a.Screen.Outliers), "-"},
      {"Signal periods covered", Figure(a.Periods), "-"}};
  // The window keeps no samples of a file it opened.
  if (Report.Capture)
    fitted.Rows.push_back({"Rows read", QString::number(Report.Capture->Size()), "-"});
  TProtocolTable error{"Measured interpolation error", {"", "rad", "% period"}, {}};
  if (a.MeasuredValid) {
    error.Columns << "u, % period";
    error.Rows = {{"Peak-to-peak", Figure(a.Measured.PeakToPeak),
                   Figure(RadToPercentPeriod(a.Measured.PeakToPeak)),
                   Figure(RadToPercentPeriod(a.PeakToPeakUncertainty))},
                  {"RMS", Figure(a.Measured.Rms), Figure(RadToPercentPeriod(a.Measured.Rms)), "-"}};
  } else {
    error.Rows = {{"The signals' centre lies outside their figure: no error measured."}};
  }
  TProtocolTable waveform{"Waveform harmonics (of the sine)",
                          {"Order", "K", "u (k = 1)", "Phase (rad)", "u (k = 1)"},
                          {}};
  for (const THarmonicEstimate &h : a.Harmonics.Order)
    waveform.Rows.push_back(
        h.Known ? QStringList{QString::number(h.Order), Figure(h.K), Figure(h.KUncertainty),
                              Figure(h.Phase), Figure(h.PhaseUncertainty)}
                : QStringList{QString::number(h.Order), "unknown", "-", "-", "-"});
  waveform.Rows.push_back(QStringList{FirstCapital(HarmonicsBasisText(a.Harmonics)) + '.'});
  protocol.Figures = {fitted, error, waveform};
  AddJudgement(protocol, Report.Judgement);
  protocol.Harmonics = HarmonicsTable(a.Measured, Report.Simulation.Correction);
  protocol.Coefficients = CoefficientsTable(Report.Simulation.Correction, a.Scale);
  for (const TCaptureWarning &warning : a.Warnings)
    protocol.Warnings << CaptureWarningText(warning);
  return protocol;
}

QString FileSha256(const QString &Path)
{
  QFile file(Path);
  QCryptographicHash hash(QCryptographicHash::Sha256);
  if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
    return QString();
  return QString::fromLatin1(hash.result().toHex());
}

QString ShellCommand(const QString &Program, const QStringList &Arguments)
{
  static const QRegularExpression plain("^[A-Za-z0-9_./:=+,@%-]+$");
  QStringList words = {Program};
  for (QString argument : Arguments)
    words << (plain.match(argument).hasMatch() ? argument
                                               : "'" + argument.replace("'", "'\\''") + "'");
  return words.join(' ');
}

void ShowCorrectedError(TGraphWidget &Graph, const TEvaluationSummary &Summary)
{
  Graph.ClearDataSets();
  SetReportAxes(Graph);
  Graph.SetMinimumYExtent(ReportErrorMinimumYExtent);
  Graph.SetVTitle("Error after correction (mm)");
  Graph.SetHTitle("Position within one pitch (mm)");
  Graph.SetTitle("Interpolation error after correction");
  if (Summary.Correction.Problem != TEllipseProblem::None)
    return;
  const std::vector<double> error =
      CorrectedGridError(GridSignals(Summary.Setup), Summary.Correction.Ellipse);
  const int set = Graph.AddDataSet(FigureColor, CurveStyle);
  const double pitch = Summary.Setup.Pitch;
  for (int k = 0; k < AngleCount; ++k)
    Graph.AddPoint(set, TVector2(pitch * k / AngleCount, Summary.InMm(error[k])));
}

TProtocolTable CorrectionTableSummary(const TEvaluationSummary &Summary)
{
  const TCorrectionTable &table = Summary.Correction.Table;
  TProtocolTable summary;
  summary.Heading = QString("Correction table, %1 entries").arg(table.Settings.Size);
  if (table.Settings.Bits > 0)
    summary.Heading += QString(", %1-bit codes of %2 rad, %3 clamped")
                           .arg(table.Settings.Bits)
                           .arg(Figure(table.Step))
                           .arg(table.Clamped);
  summary.Columns = QStringList{"Error peak-to-peak", "rad", "% period"};
  const auto row = [&](const QString &Label, double Rad) {
    summary.Rows.push_back({Label, Figure(Rad), Figure(RadToPercentPeriod(Rad))});
  };
  row("Before any correction", Summary.Error.PeakToPeak);
  row("After the ellipse", Summary.Correction.Error.PeakToPeak);
  row("After the table", table.ErrorAfter.PeakToPeak);
  return summary;
}
