#ifndef CAPTUREANALYSIS_H
#define CAPTUREANALYSIS_H

#include <cstddef>
#include <vector>

#include "capture.h"
#include "ellipsefit.h"
#include "encodersetup.h"
#include "interpolationerror.h"

// Fewer samples say too little about an ellipse with five parameters.
const std::size_t MinimumCaptureRows = 16;

// Something in a capture's figures that deserves the reader's attention.
struct TCaptureWarning
{
  enum TKind
  {
    ShortCoverage,  // Value: the periods covered, under one
    Clips,          // Channel reaches Value of the amplitude, above one
    OutOfRange,     // Parameter's model Value lies outside its window range
  } Kind = ShortCoverage;
  double Value = 0.0;
  int Channel = 0;
  TChannelParameter Parameter;
};

// Why a capture cannot be measured.
struct TCaptureProblem
{
  enum TKind
  {
    None,
    TooFewRows,  // Rows below MinimumCaptureRows
    NoEllipse,   // Ellipse says why
    ShortSweep,  // the corrected angle covers Periods, under a quarter
  } Kind = None;
  std::size_t Rows = 0;
  TEllipseProblem Ellipse = TEllipseProblem::None;
  double Periods = 0.0;
};

// What a capture says about its signals and what that costs the
// interpolator.
struct TCaptureAnalysis
{
  TEllipse Ellipse;
  // Capture units per unit of the simulation's normalised range.
  double Scale = 1.0;
  // Gains, offsets and phases of the fitted ellipse in the normalised
  // range; pitch and resolution from the command line.
  TEncoderSetup Model;
  // Signal periods the corrected angle sweeps, unwrapped.
  double Periods = 0.0;
  // The interpolator's angle of each normalised raw pair minus the
  // corrected angle: statistics and harmonics 1 ... 4 against the
  // corrected angle, fitted by least squares.
  TInterpolationError Measured;
  // RMS of the corrected radius less one, in % of the amplitude.
  double ResidualPercent = 0.0;
  // Coverage under a period, clipping, model values outside the
  // window's ranges.
  std::vector<TCaptureWarning> Warnings;

  // The interpolator's angle of a raw pair, divided into the normalised range.
  double RawAngle(double A, double B) const;
  // The corrected angle in 0 ... 2 pi.
  double CorrectedAngle(double A, double B) const;
};

// Fits and measures Capture. Amplitude > 0 divides the capture into the
// normalised range instead of the fitted signals' peak. Base gives pitch
// and resolution. Analysis is valid when the answer's Kind is None.
TCaptureProblem AnalyseCapture(const TCapture &Capture, const TEncoderSetup &Base, double Amplitude,
                               TCaptureAnalysis &Analysis);

#endif
