#include "encodersetup.h"

#include <cassert>
#include <cmath>

#include "encoderinterpolator.h"

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
  evaluation.Points = interpolator.Evaluate(Setup.Pitch, Setup.Channel(0), Setup.Channel(1),
                                            &evaluation.CountError);

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

const char *KindName(TParameterKind Kind)
{
  switch (Kind) {
    case TParameterKind::Gain:
      return "gain";
    case TParameterKind::Offset:
      return "offset";
    case TParameterKind::Phase:
      return "phase";
  }
  assert(false);
  return "";
}

std::string TChannelParameter::Name() const
{
  assert(Channel == 0 || Channel == 1);
  return std::string(KindName(Kind)) + (Channel == 0 ? "-a" : "-b");
}

const TParameterRange &TChannelParameter::Range() const
{
  switch (Kind) {
    case TParameterKind::Gain:
      return GainRange;
    case TParameterKind::Offset:
      return OffsetRange;
    case TParameterKind::Phase:
      return PhaseRange;
  }
  assert(false);
  return GainRange;
}

double &TChannelParameter::In(TEncoderSetup &Setup) const
{
  assert(Channel == 0 || Channel == 1);
  switch (Kind) {
    case TParameterKind::Gain:
      return Setup.Gain[Channel];
    case TParameterKind::Offset:
      return Setup.Offset[Channel];
    case TParameterKind::Phase:
      return Setup.Phase[Channel];
  }
  assert(false);
  return Setup.Gain[Channel];
}

double TChannelParameter::In(const TEncoderSetup &Setup) const
{
  TEncoderSetup copy = Setup;
  return In(copy);
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
