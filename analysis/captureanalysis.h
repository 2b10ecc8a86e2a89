#ifndef CAPTUREANALYSIS_H
#define CAPTUREANALYSIS_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "capture.h"
#include "captureharmonics.h"
#include "capturemotion.h"
#include "capturescreen.h"
#include "ellipsefit.h"
#include "ellipserefine.h"
#include "encodersetup.h"
#include "interpolationerror.h"
#include "setupparameters.h"

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
    LastLineCut,    // the file's last line had no line end
    Clipped,        // Count samples of Channel sit at its Top or bottom Value
    Outliers,       // Count samples far off the ellipse, the first at Lines
    ManyOutliers,   // Value % of the samples are outliers
    LargeResidual,  // the kept samples' residual is Value % of the amplitude
    ZeroOutside,    // the centre (Value, Other) lies outside the figure
    Uncertain,      // 2u of Channel's Fitted figure is Value (% of the amplitude; rad)
  } Kind = ShortCoverage;
  enum TFitted
  {
    FittedOffset,
    FittedAmplitude,
    FittedPhase,
  } Fitted = FittedOffset;
  double Value = 0.0;
  double Other = 0.0;
  int Channel = 0;
  bool Top = true;
  std::size_t Count = 0;
  std::vector<std::uint32_t> Lines;
  const TSetupParameter *Parameter = nullptr;
};

// More than this share of outliers, or a larger residual of the kept
// samples (in % of the amplitude), makes the fit unreliable.
const double UnreliableOutlierPercent = 1.0;
const double UnreliableResidualPercent = 2.0;
// Twice a fitted figure's uncertainty beyond these makes the fit
// unreliable: offsets and amplitudes in % of the channel's amplitude, the
// phase in rad.
const double UnreliableSpreadPercent = 1.0;
const double UnreliableSpreadPhase = 0.01;
// Outliers named by line in their warning.
const std::size_t NamedOutliers = 5;

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
  // The capture's columns of channels A and B, 0 when unknown.
  int Column[2] = {0, 0};
};

struct TSampleAngles
{
  double Raw = 0.0;
  double Corrected = 0.0;
  double Error = 0.0;
};

// What a capture says about its signals and what that costs the
// interpolator.
struct TCaptureAnalysis
{
  // The ellipse nearest the kept samples, and its uncertainties.
  TEllipse Ellipse;
  TEllipseUncertainty Uncertainty;
  // Capture units per unit of the simulation's normalised range.
  double Scale = 1.0;
  // Gains, offsets and phases of the fitted ellipse in the normalised
  // range; pitch and resolution from the command line.
  TEncoderSetup Model;
  // Signal periods the corrected angle sweeps, unwrapped.
  double Periods = 0.0;
  // How the scale moved: direction, turns, path and, with a time column,
  // the signal's frequency.
  TCaptureMotion Motion;
  // The measured error (captureerror.h) of each sample, outliers left out:
  // statistics and harmonics 1 ... 4 against the corrected angle, fitted by
  // least squares.
  TInterpolationError Measured;
  // False when the zero lies outside the signals' figure: the raw pair's
  // angle never turns round, and the measured error means nothing.
  bool MeasuredValid = true;
  // RMS of the fitted samples' corrected radius less one, in % of the
  // amplitude.
  double ResidualPercent = 0.0;
  // The waveform's third harmonic K sin(3x + Harmonic3Phase) estimated
  // from the fitted samples' corrected radius, 1 - K cos(4 theta + PHI)
  // to first order, and the fourth harmonic it leaves in the error after
  // the calibration.
  double Harmonic3 = 0.0;
  double Harmonic3Phase = 0.0;
  // Standard uncertainties (k = 1) of Harmonic3 and of the measured
  // error's peak-to-peak (rad).
  double Harmonic3Uncertainty = 0.0;
  double PeakToPeakUncertainty = 0.0;
  THarmonic CorrectedHarmonic4;
  // The waveform's harmonics 2 ... 5; the significant ones are in Model.
  TCaptureHarmonics Harmonics;
  // Which samples the ellipse was fitted to; outliers and clipped samples
  // are left out.
  TSampleScreen Screen;
  // Samples at a clipped end, per channel.
  std::size_t Clipped[2] = {0, 0};
  // Everything a reader should not miss, in the order found.
  std::vector<TCaptureWarning> Warnings;

  // The interpolator's angle of a raw pair, divided into the normalised range.
  double RawAngle(double A, double B) const;
  // The corrected angle in 0 ... 2 pi.
  double CorrectedAngle(double A, double B) const;
  // Both angles of a raw pair and its measured error, as the CSV rows and
  // the plots show them.
  TSampleAngles Angles(double A, double B) const;
};

// Fits and measures Capture. Amplitude > 0 divides the capture into the
// normalised range instead of the fitted signals' peak. Base gives pitch
// and resolution. Analysis is valid when the answer's Kind is None.
TCaptureProblem AnalyseCapture(const TCaptureView &Capture, const TEncoderSetup &Base,
                               double Amplitude, TCaptureAnalysis &Analysis);

#endif
