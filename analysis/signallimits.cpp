#include "signallimits.h"

#include <algorithm>
#include <cassert>

#include "errorunits.h"

namespace {

using Q = TLimitQuantity;

const std::array<TLimitQuantityInfo, LimitQuantityCount> Quantities = {{
    {Q::PhaseDeg, "phase_deg", "deg", "phase error of A against B"},
    {Q::AmplitudeRatioPercent, "amplitude_ratio_percent", "%",
     "amplitude B / amplitude A less one, in %"},
    {Q::AmplitudeA, "amplitude_a", "", "amplitude A (half its peak-to-peak)"},
    {Q::AmplitudeB, "amplitude_b", "", "amplitude B (half its peak-to-peak)"},
    {Q::OffsetAPercent, "offset_a_percent", "%", "offset A in % of amplitude A"},
    {Q::OffsetBPercent, "offset_b_percent", "%", "offset B in % of amplitude B"},
    {Q::ErrorHalfPpPercent, "error_half_pp_percent", "% period",
     "half the interpolation error's peak-to-peak"},
    {Q::Harmonic3Percent, "harmonic3_percent", "%", "third harmonic of the waveform"},
    {Q::FrequencyHz, "frequency_hz", "Hz", "largest signal frequency"},
}};

TLimit Bounds(const char *Name, Q Quantity, double Low, double High, double BelowHz = NoValue)
{
  return {Name, Quantity, Low, High, BelowHz};
}

std::vector<TLimitSet> MakeBuiltInSets()
{
  // A 1 Vpp head as makers' interface descriptions state it: 0.6 ... 1.2 Vpp
  // per channel, B/A 0.8 ... 1.25, asymmetry 0.065, 90 deg +- 10, and a
  // -3 dB cut-off of 500 kHz.
  TLimitSet head{
      "1vpp",
      "a 1 Vpp head within its interface description (amplitudes in V)",
      {Bounds("amplitude_a", Q::AmplitudeA, 0.3, 0.6),
       Bounds("amplitude_b", Q::AmplitudeB, 0.3, 0.6),
       Bounds("amplitude_ratio", Q::AmplitudeRatioPercent, -20.0, 25.0),
       Bounds("offset_a", Q::OffsetAPercent, -6.5, 6.5),
       Bounds("offset_b", Q::OffsetBPercent, -6.5, 6.5), Bounds("phase", Q::PhaseDeg, -10.0, 10.0),
       Bounds("frequency", Q::FrequencyHz, NoValue, 500e3)}};
  // What interpolator ICs ask of a head before their own calibration.
  TLimitSet calibration{
      "calibration",
      "a head tuned for fine interpolation",
      {Bounds("phase", Q::PhaseDeg, -0.5, 0.5, 1e3), Bounds("phase", Q::PhaseDeg, -1.0, 1.0, 250e3),
       Bounds("amplitude_ratio", Q::AmplitudeRatioPercent, -1.0, 1.0),
       Bounds("offset_a", Q::OffsetAPercent, -1.0, 1.0),
       Bounds("offset_b", Q::OffsetBPercent, -1.0, 1.0),
       Bounds("error", Q::ErrorHalfPpPercent, NoValue, 1.0),
       Bounds("harmonic3", Q::Harmonic3Percent, NoValue, 1.0)}};
  return {head, calibration};
}

// A ratio in % from 100 and an offset in % of its amplitude, with the
// uncertainties of independent factors.
TJudgedValue RatioPercent(double B, double UB, double A, double UA)
{
  const double ratio = B / A;
  return {100.0 * (ratio - 1.0), 100.0 * ratio * std::hypot(UB / B, UA / A)};
}

TJudgedValue OffsetPercent(double Offset, double UOffset, double A, double UA)
{
  return {100.0 * Offset / A, 100.0 / A * std::hypot(UOffset, Offset / A * UA)};
}

TJudgedValue HalfPeakToPeak(double Rad, double U)
{
  return {RadToPercentPeriod(Rad) / 2.0, RadToPercentPeriod(U) / 2.0};
}

// A missing band edge lies above every frequency.
double Edge(const TLimit &Limit)
{
  return Given(Limit.BelowHz) ? Limit.BelowHz : HUGE_VAL;
}

}  // namespace

const std::array<TLimitQuantityInfo, LimitQuantityCount> &LimitQuantities()
{
  return Quantities;
}

const TLimitQuantityInfo &QuantityInfo(TLimitQuantity Quantity)
{
  const TLimitQuantityInfo &info = Quantities[static_cast<std::size_t>(Quantity)];
  assert(info.Quantity == Quantity);
  return info;
}

const TLimitQuantityInfo *FindLimitQuantity(const std::string &Key)
{
  for (const TLimitQuantityInfo &info : Quantities)
    if (Key == info.Key)
      return &info;
  return nullptr;
}

const std::vector<TLimitSet> &BuiltInLimitSets()
{
  static const std::vector<TLimitSet> sets = MakeBuiltInSets();
  return sets;
}

const TLimitSet *FindBuiltInLimitSet(const std::string &Name)
{
  for (const TLimitSet &set : BuiltInLimitSets())
    if (set.Name == Name)
      return &set;
  return nullptr;
}

TSignalQuantities CaptureQuantities(const TCaptureAnalysis &Analysis, double MaxFrequencyHz,
                                    bool OffsetsMeasured)
{
  const TEllipse &e = Analysis.Ellipse;
  const TEllipseUncertainty &u = Analysis.Uncertainty;
  TSignalQuantities q;
  auto at = [&](Q Quantity) -> TJudgedValue & { return q[static_cast<std::size_t>(Quantity)]; };
  at(Q::PhaseDeg) = {RadToDeg(e.Phase), RadToDeg(u.Phase)};
  at(Q::AmplitudeRatioPercent) =
      RatioPercent(e.AmplitudeB, u.AmplitudeB, e.AmplitudeA, u.AmplitudeA);
  at(Q::AmplitudeA) = {e.AmplitudeA, u.AmplitudeA};
  at(Q::AmplitudeB) = {e.AmplitudeB, u.AmplitudeB};
  if (OffsetsMeasured) {
    at(Q::OffsetAPercent) = OffsetPercent(e.OffsetA, u.OffsetA, e.AmplitudeA, u.AmplitudeA);
    at(Q::OffsetBPercent) = OffsetPercent(e.OffsetB, u.OffsetB, e.AmplitudeB, u.AmplitudeB);
  }
  // The error of a raw pair that never turns round means nothing.
  if (Analysis.MeasuredValid)
    at(Q::ErrorHalfPpPercent) =
        HalfPeakToPeak(Analysis.Measured.PeakToPeak, Analysis.PeakToPeakUncertainty);
  at(Q::Harmonic3Percent) = {100.0 * std::fabs(Analysis.Harmonic3),
                             100.0 * Analysis.Harmonic3Uncertainty};
  at(Q::FrequencyHz) = {MaxFrequencyHz, 0.0};
  return q;
}

TSignalQuantities SetupQuantities(const TEncoderSetup &S, double ErrorHalfPpPercent)
{
  TSignalQuantities q;
  auto at = [&](Q Quantity) -> TJudgedValue & { return q[static_cast<std::size_t>(Quantity)]; };
  at(Q::PhaseDeg).Value = RadToDeg(S.Phase[0] - S.Phase[1]);
  at(Q::AmplitudeRatioPercent).Value = 100.0 * (S.Gain[1] / S.Gain[0] - 1.0);
  at(Q::AmplitudeA).Value = S.Gain[0];
  at(Q::AmplitudeB).Value = S.Gain[1];
  at(Q::OffsetAPercent).Value = 100.0 * S.Offset[0] / S.Gain[0];
  at(Q::OffsetBPercent).Value = 100.0 * S.Offset[1] / S.Gain[1];
  at(Q::ErrorHalfPpPercent).Value = ErrorHalfPpPercent;
  at(Q::Harmonic3Percent).Value = 100.0 * std::fabs(S.Signal.Harmonic[3]);
  return q;
}

TSignalQuantities SimulationQuantities(const TEvaluationSummary &Summary)
{
  return SetupQuantities(Summary.Setup, RadToPercentPeriod(Summary.Error.PeakToPeak) / 2.0);
}

TVerdict JudgeValue(const TJudgedValue &Value, double Low, double High)
{
  const double v = Value.Value;
  const double expanded = 2.0 * Value.Uncertainty;
  if (!Given(v))
    return TVerdict::Undecided;
  if ((Given(Low) && v < Low - expanded) || (Given(High) && v > High + expanded))
    return TVerdict::Fail;
  if ((!Given(Low) || v >= Low + expanded) && (!Given(High) || v <= High - expanded))
    return TVerdict::Pass;
  return TVerdict::Undecided;
}

int TJudgement::Count(TVerdict Verdict) const
{
  return static_cast<int>(std::count_if(Checks.begin(), Checks.end(),
                                        [&](const TCheck &c) { return c.Verdict == Verdict; }));
}

int VerdictStatus(bool AnyFail, bool AnyUndecided)
{
  return AnyFail ? 1 : AnyUndecided ? 3 : 0;
}

int TJudgement::Status() const
{
  return VerdictStatus(Count(TVerdict::Fail) > 0, Count(TVerdict::Undecided) > 0);
}

TJudgement JudgeLimits(const TLimitSet &Set, const TSignalQuantities &Quantities,
                       double MaxFrequencyHz)
{
  TJudgement judgement;
  judgement.SetName = Set.Name;
  judgement.FrequencyHz = MaxFrequencyHz;
  const bool known = Given(MaxFrequencyHz);
  for (const TLimit &limit : Set.Limits) {
    auto check = std::find_if(judgement.Checks.begin(), judgement.Checks.end(),
                              [&](const TCheck &c) { return c.Name == limit.Name; });
    if (check == judgement.Checks.end()) {
      judgement.Checks.push_back(
          {limit.Name, limit.Quantity, Quantities[static_cast<std::size_t>(limit.Quantity)]});
      check = judgement.Checks.end() - 1;
    }
    // The lowest band above the frequency; without one, the tightest.
    if (known && !(MaxFrequencyHz < Edge(limit)))
      continue;
    if (!check->Band || Edge(limit) < Edge(*check->Band))
      check->Band = &limit;
  }
  for (TCheck &check : judgement.Checks) {
    if (check.Band) {
      check.Verdict = JudgeValue(check.Value, check.Band->Low, check.Band->High);
      judgement.TightestForUnknownFrequency |= !known && Given(check.Band->BelowHz);
    }
  }
  return judgement;
}
