#include "setupjson.h"

#include <QString>

#include "setupparameters.h"

QJsonObject ChannelParametersObject(const TEncoderSetup &Setup)
{
  QJsonObject object;
  for (const TSetupParameter *parameter : ChannelParameters())
    object[parameter->Key] = parameter->In(Setup);
  return object;
}

QJsonObject ChannelObject(const TEncoderSetup &Setup, int Channel)
{
  QJsonObject object;
  for (const TSetupParameter *parameter : ChannelParameters())
    if (parameter->Channel == Channel)
      object[QString::fromStdString(parameter->Quantity())] = parameter->In(Setup);
  return object;
}

QJsonObject EllipseObject(const TEllipse &Ellipse)
{
  return QJsonObject{{"offset_a", Ellipse.OffsetA},
                     {"offset_b", Ellipse.OffsetB},
                     {"amplitude_a", Ellipse.AmplitudeA},
                     {"amplitude_b", Ellipse.AmplitudeB},
                     {"phase_rad", Ellipse.Phase}};
}
