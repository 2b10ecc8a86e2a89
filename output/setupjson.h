#ifndef SETUPJSON_H
#define SETUPJSON_H

#include <QJsonObject>

#include "ellipsefit.h"
#include "ellipserefine.h"
#include "encodersetup.h"

// A setup's six channel parameters under their JSON keys, "gain_a", ...
QJsonObject ChannelParametersObject(const TEncoderSetup &Setup);
// One channel's under their quantities, "gain", "offset" and "phase".
QJsonObject ChannelObject(const TEncoderSetup &Setup, int Channel);
// A fitted ellipse: both offsets, both amplitudes and the phase in rad.
QJsonObject EllipseObject(const TEllipse &Ellipse);
// Its uncertainties, under the same keys.
QJsonObject EllipseObject(const TEllipseUncertainty &Uncertainty);

#endif
