#ifndef CAPTUREANALYSIS_H
#define CAPTUREANALYSIS_H

#include <QString>
#include <QStringList>

#include "capturefit.h"
#include "capturereader.h"
#include "interpolationerror.h"
#include "reportsetup.h"

// Fewer samples say too little about an ellipse with five parameters.
const std::size_t MinimumCaptureRows = 16;

// What a capture says about its signals and what that costs the
// interpolator.
struct TCaptureAnalysis
{
  TEllipse Ellipse;
  // Capture units per unit of the simulation's normalised range.
  double Scale = 1.0;
  // Gains, offsets and phases of the fitted ellipse in the normalised
  // range; pitch and resolution from the command line.
  TReportSetup Model;
  // Signal periods the corrected angle sweeps, unwrapped.
  double Periods = 0.0;
  // The interpolator's angle of each normalised raw pair minus the
  // corrected angle: statistics and harmonics 1 ... 4 against the
  // corrected angle, fitted by least squares.
  TInterpolationError Measured;
  // RMS of the corrected radius less one, in % of the amplitude.
  double ResidualPercent = 0.0;
  // Coverage under a period, model values outside the window's ranges,
  // clipping.
  QStringList Warnings;

  // The interpolator's angle of a raw pair, divided into the normalised range.
  double RawAngle(double A, double B) const;
  // The corrected angle in 0 ... 2 pi.
  double CorrectedAngle(double A, double B) const;
};

// Fits and measures Capture. Amplitude > 0 divides the capture into the
// normalised range instead of the fitted signals' peak. Base gives pitch
// and resolution. False with a one-line Message when the capture is
// refused: too few rows, no ellipse, under a quarter of a period.
bool AnalyseCapture(const TCapture &Capture, const TReportSetup &Base, double Amplitude,
                    TCaptureAnalysis &Analysis, QString &Message);

// Into (-pi, pi].
double WrappedAngle(double Angle);

#endif
