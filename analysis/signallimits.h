#ifndef SIGNALLIMITS_H
#define SIGNALLIMITS_H

#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "captureanalysis.h"
#include "evaluationsummary.h"

// What a limit judges; LimitQuantities() describes each.
enum class TLimitQuantity
{
  PhaseDeg,
  AmplitudeRatioPercent,
  AmplitudeA,
  AmplitudeB,
  OffsetAPercent,
  OffsetBPercent,
  ErrorHalfPpPercent,
  Harmonic3Percent,
  FrequencyHz,
};

const int LimitQuantityCount = 9;

struct TLimitQuantityInfo
{
  TLimitQuantity Quantity;
  const char *Key;      // as limits files name it
  const char *Unit;     // as the check table shows it
  const char *Meaning;  // one line
};

// One row per quantity, in the enum's order.
const std::array<TLimitQuantityInfo, LimitQuantityCount> &LimitQuantities();
const TLimitQuantityInfo &QuantityInfo(TLimitQuantity Quantity);
// Null for a key no quantity has.
const TLimitQuantityInfo *FindLimitQuantity(const std::string &Key);

const double NoValue = std::numeric_limits<double>::quiet_NaN();

inline bool Given(double Value)
{
  return !std::isnan(Value);
}

// Bounds on one quantity; NoValue leaves a side open. With BelowHz it
// holds only while the largest signal frequency stays below that.
struct TLimit
{
  std::string Name;
  TLimitQuantity Quantity = TLimitQuantity::PhaseDeg;
  double Low = NoValue;
  double High = NoValue;
  double BelowHz = NoValue;
};

struct TLimitSet
{
  std::string Name;
  std::string Description;
  std::vector<TLimit> Limits;
};

const std::vector<TLimitSet> &BuiltInLimitSets();
// Null for a name no built-in set has.
const TLimitSet *FindBuiltInLimitSet(const std::string &Name);

// A value and its standard uncertainty (k = 1); NoValue when unknown.
struct TJudgedValue
{
  double Value = NoValue;
  double Uncertainty = 0.0;
};

using TSignalQuantities = std::array<TJudgedValue, LimitQuantityCount>;

// The quantities of a fitted capture, each with its uncertainty.
// MaxFrequencyHz is NoValue when the capture has no time. A source that
// loses the DC level (a sound card) leaves the offsets unknown.
TSignalQuantities CaptureQuantities(const TCaptureAnalysis &Analysis, double MaxFrequencyHz,
                                    bool OffsetsMeasured = true);
// The quantities of a simulated setup, exact; its frequency is unknown.
// ErrorHalfPpPercent: half its interpolation error's peak-to-peak, in % of
// the period.
TSignalQuantities SetupQuantities(const TEncoderSetup &Setup, double ErrorHalfPpPercent);
TSignalQuantities SimulationQuantities(const TEvaluationSummary &Summary);

enum class TVerdict
{
  Pass,
  Fail,
  Undecided,
};

// The exit status of verdicts: 1 when one fails, 3 when none fails and
// one is undecided, else 0.
int VerdictStatus(bool AnyFail, bool AnyUndecided);

// PASS inside both bounds by more than 2u, FAIL beyond one by more than
// 2u, UNDECIDED between, or for an unknown value.
TVerdict JudgeValue(const TJudgedValue &Value, double Low, double High);

// One check: the limits of one name, in the band that applies.
struct TCheck
{
  std::string Name;
  TLimitQuantity Quantity = TLimitQuantity::PhaseDeg;
  TJudgedValue Value;
  // The band judged by; null when the frequency lies above every band.
  const TLimit *Band = nullptr;
  TVerdict Verdict = TVerdict::Undecided;
};

struct TJudgement
{
  std::string SetName;
  std::vector<TCheck> Checks;
  // A banded check judged by its tightest band for want of a frequency.
  bool TightestForUnknownFrequency = false;
  double FrequencyHz = NoValue;

  int Count(TVerdict Verdict) const;
  // VerdictStatus of the checks.
  int Status() const;
};

// The set's limits of one name form one check, in the order of their
// first appearance. Set must outlive the answer.
TJudgement JudgeLimits(const TLimitSet &Set, const TSignalQuantities &Quantities,
                       double MaxFrequencyHz);

#endif
