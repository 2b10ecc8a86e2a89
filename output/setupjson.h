#ifndef SETUPJSON_H
#define SETUPJSON_H

#include <QJsonArray>
#include <QJsonObject>

#include "ellipsefit.h"
#include "ellipserefine.h"
#include "encodersetup.h"

// A setup's six channel parameters under their JSON keys, "gain_a", ...
QJsonObject ChannelParametersObject(const TEncoderSetup &Setup);
// One channel's under their quantities, "gain", "offset" and "phase".
QJsonObject ChannelObject(const TEncoderSetup &Setup, int Channel);
// The waveform's harmonics set, {order, k, phase_rad} each, by order.
QJsonArray HarmonicsArray(const TSignalOptions &Signal);
// Back into Signal, checked as --harmonic checks them: false for a
// malformed array.
bool HarmonicsFromArray(const QJsonArray &Array, TSignalOptions &Signal);
// A fitted ellipse: both offsets, both amplitudes and the phase in rad.
QJsonObject EllipseObject(const TEllipse &Ellipse);
// Its uncertainties, under the same keys.
QJsonObject EllipseObject(const TEllipseUncertainty &Uncertainty);
// An ellipse back from EllipseObject's keys: false when a figure is
// missing or not finite, or an amplitude not positive.
bool EllipseFromObject(const QJsonObject &Object, TEllipse &Ellipse);

#endif
