#include "reproducecommand.h"

#include "numbertext.h"

#include "setupparameters.h"

namespace {

QString Option(const char *Name, double Value)
{
  return QString(" --%1=%2").arg(Name, ShortestText(Value));
}

}  // namespace

QString ReproduceCommand(const TEncoderSetup &Setup, bool WithPitch, bool WithResolution)
{
  QString command = "vantrel-report";
  if (WithPitch)
    command += Option("pitch", Setup.Pitch);
  if (WithResolution)
    command += Option("resolution", Setup.Resolution);
  for (const TSetupParameter *parameter : ChannelParameters())
    command += Option(parameter->Name, parameter->In(Setup));
  // The signal's options only when in use, as a plain setup needs none.
  const TSignalOptions &signal = Setup.Signal;
  if (signal.Harmonic[3] != 0.0)
    command += Option("harmonic3", signal.Harmonic[3]) +
               Option("harmonic3-phase", signal.HarmonicPhase[3]);
  for (int h = 2; h <= MaximumHarmonic; ++h)
    if (h != 3 && signal.Harmonic[h] != 0.0)
      command += QString(" --harmonic=%1,%2,%3")
                     .arg(h)
                     .arg(ShortestText(signal.Harmonic[h]), ShortestText(signal.HarmonicPhase[h]));
  if (signal.Noise > 0.0)
    command += Option("noise", signal.Noise) + QString(" --seed=%1").arg(signal.Seed);
  if (signal.AdcBits > 0)
    command += QString(" --adc-bits=%1").arg(signal.AdcBits);
  return command + " --format summary";
}
