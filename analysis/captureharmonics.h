#ifndef CAPTUREHARMONICS_H
#define CAPTUREHARMONICS_H

#include "capture.h"
#include "capturescreen.h"
#include "ellipsefit.h"
#include "encodersetup.h"

// The orders of the waveform's harmonics a capture is measured for.
const int FirstCaptureHarmonic = 2;
const int LastCaptureHarmonic = 5;
const int CaptureHarmonicCount = LastCaptureHarmonic - FirstCaptureHarmonic + 1;

// One harmonic K sin(h x + Phase) of the waveform, with its standard
// uncertainties (k = 1); unknown when the capture cannot tell it apart.
struct THarmonicEstimate
{
  int Order = 0;
  bool Known = false;
  double K = 0.0;
  double Phase = 0.0;
  double KUncertainty = 0.0;
  double PhaseUncertainty = 0.0;

  // K beyond four times its uncertainty: noise alone makes that once in
  // three thousand (K of pure noise is Rayleigh distributed), where beyond
  // twice it would be one in seven.
  bool Significant() const { return Known && K > 4.0 * KUncertainty; }
};

// The waveform's harmonics 2 ... 5 as a capture shows them.
//
// After the ellipse correction a harmonic of order h moves the corrected
// pair radially and along the angle. The radius alone shows orders 3 and 5
// of the angle for the second and fourth harmonics, but the third and the
// fifth both make its order 4, with opposite signs along the angle: the
// curve cannot tell them apart. With a time column and steady motion, the
// angle against time shows the error along the angle too, and all four are
// known.
struct TCaptureHarmonics
{
  enum TBasis
  {
    Radius,          // the third assumes no fifth; the fifth is unknown
    RadiusAndAngle,  // the angle's error against a smooth motion in time
  } Basis = Radius;
  // Why the angle was not used when a time column was there; None when it
  // was, or when there was none.
  enum TAngleRefusal
  {
    None,
    NotOneWay,   // the motion reverses
    FewPeriods,  // under MinimumSteadyPeriods
    NotSteady,   // the angle's residual exceeds UnsteadyResidualRatio times the radius'
  } Refusal = None;
  THarmonicEstimate Order[CaptureHarmonicCount];
  // RMS residuals of the fit: of the radius (relative) and, with the
  // angle, of the angle against the motion (rad).
  double RadiusResidual = 0.0;
  double AngleResidual = 0.0;
  // The channels' own offsets, amplitudes and phase: the fitted ellipse,
  // less what the harmonics moved it by.
  TEllipse Channels;

  const THarmonicEstimate &Harmonic(int H) const { return Order[H - FirstCaptureHarmonic]; }
};

// The motion's angle against time must cover this many periods one way,
// and may scatter this much more than the radius, to count as steady.
const double MinimumSteadyPeriods = 2.0;
const double UnsteadyResidualRatio = 3.0;
// An angle residual below this (rad) is steady whatever the radius does:
// far below any interpolator's step, as noiseless samples give it.
const double SteadyAngleResidual = 1e-6;

// Estimates the harmonics from the samples Screen kept, corrected by
// Ellipse; Periods and Reversals are the capture's motion.
TCaptureHarmonics EstimateCaptureHarmonics(const TCaptureView &Capture, const TSampleScreen &Screen,
                                           const TEllipse &Ellipse, double Periods,
                                           long long Reversals);

// Puts the significant harmonics into Model.
void AddHarmonicsToModel(const TCaptureHarmonics &Harmonics, TEncoderSetup &Model);

#endif
