#ifndef STUDYTRIAL_H
#define STUDYTRIAL_H

#include <cstdint>
#include <vector>

#include "encodersetup.h"
#include "setupparameters.h"

enum class TDistribution
{
  Normal,   // a tolerance is the standard deviation
  Uniform,  // a tolerance is the half-width
};

// How far each toleranced parameter may stray from its nominal value:
// zero unless set. Each is kept where a setup keeps the parameter.
class TTolerances
{
public:
  TTolerances();

  double &Of(const TSetupParameter &Parameter) { return Parameter.In(d_spread); }
  double Of(const TSetupParameter &Parameter) const { return Parameter.In(d_spread); }

private:
  TEncoderSetup d_spread;
};

// What a study's limit judges: half the interpolation error's
// peak-to-peak, the +- figure of "interpolation error within one signal
// period" with any constant bias left out (an incremental counter never
// sees one), or its largest magnitude, bias included.
enum class TLimitOn
{
  HalfPeakToPeak,
  MaxAbs,
};

// The most trials a study runs; also the most shards it splits into.
const long MaximumTrials = 100000000;

// Everything that decides a study's trials: the same study gives the same
// trials on any machine and with any number of threads.
struct TStudySetup
{
  TEncoderSetup Nominal;
  TTolerances Tolerances;
  TDistribution Distribution = TDistribution::Normal;
  std::uint64_t Seed = 1;
  long Trials = 0;
  // The pass criterion, in % of the period, on the figure LimitOn names.
  double LimitPercent = 1.0;
  TLimitOn LimitOn = TLimitOn::HalfPeakToPeak;
};

// One trial's drawn setup and how many of its draws were clamped to the
// parameters' ranges.
struct TTrialDraw
{
  TEncoderSetup Setup;
  int Clamped = 0;
};

// Trial Index's own generator is seeded from Seed and Index alone, so a
// trial never depends on which trials ran before it or beside it. It
// draws the six channel parameters channel by channel, then the other
// toleranced ones in the table's order, the harmonics but the third last; the trial's noise seed is
// made from the same two.
TTrialDraw DrawTrial(const TStudySetup &Study, long Index);

// What the study keeps of a trial; the error in % of the signal period.
struct TTrialFigures
{
  double PeakToPeak = 0.0;
  double MaxAbs = 0.0;
  bool CountError = false;
  std::uint8_t Clamped = 0;
};

// The interpolation error at the summary's AngleCount angles with the
// angles' sines and cosines worked out once: a channel's value at a grid
// angle then needs only a product and a sum, and the arctangent is what
// remains of a trial's summary.
class TTrialEvaluator
{
public:
  TTrialEvaluator();
  // The interpolator's count check plus the interpolation error's
  // peak-to-peak and largest magnitude.
  TTrialFigures Evaluate(const TEncoderSetup &Setup) const;
  // Peak-to-peak and largest magnitude in radians.
  void InterpolationError(const TEncoderSetup &Setup, double &PeakToPeak, double &MaxAbs) const;

private:
  // The error of a setup with harmonic, noise or ADC.
  void SignalError(const TEncoderSetup &Setup, double &PeakToPeak, double &MaxAbs) const;

  std::vector<double> d_theta, d_sin, d_cos, d_sin3, d_cos3;
};

#endif
