#include "encodersetup.h"

#include <cassert>
#include <cmath>

#include "encoderinterpolator.h"
#include "signalchain.h"

int TEncoderSetup::Count() const
{
  return InterpolationCount(Pitch, Resolution);
}

TEncoderChannel TEncoderSetup::Channel(int Index) const
{
  assert(Index == 0 || Index == 1);
  TEncoderChannel channel;
  channel.d_type = Index == 0 ? SIN_CHANNEL : COS_CHANNEL;
  channel.SetGain(Gain[Index]);
  channel.SetOffset(Offset[Index]);
  channel.SetPhase(Phase[Index]);
  channel.GeneratePoints();
  return channel;
}

TEvaluation Evaluate(const TEncoderSetup &Setup)
{
  TEvaluation evaluation;
  evaluation.Count = Setup.Count();
  assert(evaluation.Count >= 2);
  TEncoderInterpolator interpolator;
  interpolator.SetInterpolatorCount(evaluation.Count);
  // The counter sees what the ADC gives, noise and all.
  TSignalChannel a(Setup, 0, CounterStreamA), b(Setup, 1, CounterStreamB);
  evaluation.Points = interpolator.EvaluateChannels(Setup.Pitch, a, b, &evaluation.CountError);

  // Each point's error is its position less the counted one, so the
  // counter is the difference, a whole number of counts up to rounding.
  const double count_size = Setup.Pitch / evaluation.Count;
  const auto counter = [&](const TVector2 &Point) {
    return std::lround((Point.x - Point.y) / count_size);
  };
  evaluation.CounterForward = counter(evaluation.Points[evaluation.ForwardSize() - 1]);
  evaluation.CounterReturn = counter(evaluation.Points.back());
  return evaluation;
}

namespace {

// What each kind of parameter is called, where its range is and where a
// setup keeps it.
struct TKindFacts
{
  const char *Name;
  const TParameterRange *Range;
  double (TEncoderSetup::*Member)[2];
};

const TKindFacts &FactsOf(TParameterKind Kind)
{
  static const TKindFacts facts[] = {{"gain", &GainRange, &TEncoderSetup::Gain},
                                     {"offset", &OffsetRange, &TEncoderSetup::Offset},
                                     {"phase", &PhaseRange, &TEncoderSetup::Phase}};
  const int index = static_cast<int>(Kind);
  assert(index >= 0 && index < 3);
  return facts[index];
}

}  // namespace

const char *KindName(TParameterKind Kind)
{
  return FactsOf(Kind).Name;
}

std::string TChannelParameter::Name() const
{
  assert(Channel == 0 || Channel == 1);
  return std::string(KindName(Kind)) + (Channel == 0 ? "-a" : "-b");
}

const TParameterRange &TChannelParameter::Range() const
{
  return *FactsOf(Kind).Range;
}

double &TChannelParameter::In(TEncoderSetup &Setup) const
{
  assert(Channel == 0 || Channel == 1);
  return (Setup.*FactsOf(Kind).Member)[Channel];
}

double TChannelParameter::In(const TEncoderSetup &Setup) const
{
  assert(Channel == 0 || Channel == 1);
  return (Setup.*FactsOf(Kind).Member)[Channel];
}

const std::vector<TChannelParameter> &ChannelParameters()
{
  static const std::vector<TChannelParameter> parameters = {
      {TParameterKind::Gain, 0}, {TParameterKind::Offset, 0}, {TParameterKind::Phase, 0},
      {TParameterKind::Gain, 1}, {TParameterKind::Offset, 1}, {TParameterKind::Phase, 1}};
  return parameters;
}

bool FindChannelParameter(const std::string &Name, TChannelParameter &Parameter)
{
  for (const TChannelParameter &candidate : ChannelParameters())
    if (candidate.Name() == Name) {
      Parameter = candidate;
      return true;
    }
  return false;
}
