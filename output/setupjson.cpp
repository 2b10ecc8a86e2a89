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

QJsonArray HarmonicsArray(const TSignalOptions &Signal)
{
  QJsonArray array;
  for (int h = 2; h <= MaximumHarmonic; ++h)
    if (Signal.Harmonic[h] != 0.0)
      array.append(QJsonObject{
          {"order", h}, {"k", Signal.Harmonic[h]}, {"phase_rad", Signal.HarmonicPhase[h]}});
  return array;
}

bool HarmonicsFromArray(const QJsonArray &Array, TSignalOptions &Signal)
{
  for (const QJsonValue &value : Array) {
    const QJsonObject object = value.toObject();
    const int order = object["order"].toInt(0);
    const QJsonValue k = object["k"], phase = object["phase_rad"];
    if (order < 2 || order > MaximumHarmonic || !k.isDouble() || !phase.isDouble() ||
        !HarmonicRange.Contains(k.toDouble()) || !HarmonicPhaseRange.Contains(phase.toDouble()))
      return false;
    Signal.Harmonic[order] = k.toDouble();
    Signal.HarmonicPhase[order] = phase.toDouble();
  }
  return true;
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
