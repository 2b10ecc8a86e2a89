#include "encodersetup.h"

#include <cassert>
#include <cmath>

#include "encoderinterpolator.h"
#include "signalchain.h"

int TEncoderSetup::Count() const
{
  return InterpolationCount(Pitch, Resolution);
}

TEncoderChannel TEncoderSetup::Channel(int Index, bool WithSamples) const
{
  assert(Index == 0 || Index == 1);
  TEncoderChannel channel;
  channel.d_type = Index == 0 ? SIN_CHANNEL : COS_CHANNEL;
  channel.SetGain(Gain[Index]);
  channel.SetOffset(Offset[Index]);
  channel.SetPhase(Phase[Index]);
  if (WithSamples)
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
