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

namespace {

QJsonObject EllipseFigures(double OffsetA, double OffsetB, double AmplitudeA, double AmplitudeB,
                           double Phase)
{
  return QJsonObject{{"offset_a", OffsetA},
                     {"offset_b", OffsetB},
                     {"amplitude_a", AmplitudeA},
                     {"amplitude_b", AmplitudeB},
                     {"phase_rad", Phase}};
}

}  // namespace

QJsonObject EllipseObject(const TEllipse &Ellipse)
{
  return EllipseFigures(Ellipse.OffsetA, Ellipse.OffsetB, Ellipse.AmplitudeA, Ellipse.AmplitudeB,
                        Ellipse.Phase);
}

QJsonObject EllipseObject(const TEllipseUncertainty &Uncertainty)
{
  return EllipseFigures(Uncertainty.OffsetA, Uncertainty.OffsetB, Uncertainty.AmplitudeA,
                        Uncertainty.AmplitudeB, Uncertainty.Phase);
}
