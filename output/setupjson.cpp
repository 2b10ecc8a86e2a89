#include "setupjson.h"

#include <QString>
#include <cmath>

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

// The five figures of an ellipse, or of its uncertainties, in this order.
const char *const EllipseKeys[5] = {"offset_a", "offset_b", "amplitude_a", "amplitude_b",
                                    "phase_rad"};

QJsonObject EllipseFigures(const double (&Values)[5])
{
  QJsonObject object;
  for (int k = 0; k < 5; ++k)
    object[EllipseKeys[k]] = Values[k];
  return object;
}

}  // namespace

QJsonObject EllipseObject(const TEllipse &Ellipse)
{
  return EllipseFigures(
      {Ellipse.OffsetA, Ellipse.OffsetB, Ellipse.AmplitudeA, Ellipse.AmplitudeB, Ellipse.Phase});
}

QJsonObject EllipseObject(const TEllipseUncertainty &Uncertainty)
{
  return EllipseFigures({Uncertainty.OffsetA, Uncertainty.OffsetB, Uncertainty.AmplitudeA,
                         Uncertainty.AmplitudeB, Uncertainty.Phase});
}

bool EllipseFromObject(const QJsonObject &Object, TEllipse &Ellipse)
{
  double values[5];
  for (int k = 0; k < 5; ++k) {
    const QJsonValue value = Object[EllipseKeys[k]];
    if (!value.isDouble() || !std::isfinite(value.toDouble()))
      return false;
    values[k] = value.toDouble();
  }
  // A flat channel corrects nothing.
  if (!(values[2] > 0.0 && values[3] > 0.0))
    return false;
  Ellipse = TEllipse{values[0], values[1], values[2], values[3], values[4]};
  return true;
}
