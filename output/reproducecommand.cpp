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
  if (signal.Harmonic3 != 0.0)
    command +=
        Option("harmonic3", signal.Harmonic3) + Option("harmonic3-phase", signal.Harmonic3Phase);
  if (signal.Noise > 0.0)
    command += Option("noise", signal.Noise) + QString(" --seed=%1").arg(signal.Seed);
  if (signal.AdcBits > 0)
    command += QString(" --adc-bits=%1").arg(signal.AdcBits);
  return command + " --format summary";
}
