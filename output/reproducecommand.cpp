#include "reproducecommand.h"

#include <QLocale>

namespace {

QString Option(const char *Name, double Value)
{
  return QString(" --%1=%2").arg(Name, QString::number(Value, 'g', QLocale::FloatingPointShortest));
}

}  // namespace

QString ReproduceCommand(const TEncoderSetup &Setup, bool WithPitch, bool WithResolution)
{
  QString command = "vantrel-report";
  if (WithPitch)
    command += Option("pitch", Setup.Pitch);
  if (WithResolution)
    command += Option("resolution", Setup.Resolution);
  for (const TChannelParameter &parameter : ChannelParameters())
    command += Option(parameter.Name().c_str(), parameter.In(Setup));
  return command + " --format summary";
}
