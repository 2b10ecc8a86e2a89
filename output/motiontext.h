#ifndef MOTIONTEXT_H
#define MOTIONTEXT_H

#include <QJsonObject>
#include <QString>

#include "capturemotion.h"

// How the scale moved, as the capture's summary and JSON show it. Pitch
// (mm) 0: none given, and no speed.
QString MotionText(const TCaptureMotion &Motion, double Pitch, int LabelWidth);
QJsonObject MotionJson(const TCaptureMotion &Motion, double Pitch);

#endif
