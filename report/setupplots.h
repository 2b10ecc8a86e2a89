#ifndef SETUPPLOTS_H
#define SETUPPLOTS_H

#include <QString>

#include "encodersetup.h"

class QIODevice;
struct TReportConfig;

// The window's channel with its table's values as the interpolator
// receives them: harmonic, noise and ADC included.
TEncoderChannel ScopeChannel(const TEncoderSetup &Setup, int Index);

// The setup's error graph into Plot and its oscilloscope view into Scope,
// each when not null; the evaluation and the sweep both show the setup as
// given. Empty when drawn, else the problem line.
QString DrawSetupPlots(const TReportConfig &Config, const TEvaluation &Evaluation, QIODevice *Plot,
                       QIODevice *Scope);

#endif
