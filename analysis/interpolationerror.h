#ifndef INTERPOLATIONERROR_H
#define INTERPOLATIONERROR_H

#include "angles.h"
#include "encoderchannel.h"
#include "encodersetup.h"

#include <vector>

// Amplitude and phase of one harmonic of the interpolation error: the
// harmonic is Amplitude * cos(order * theta + Phase), in radians.
struct THarmonic
{
  double Amplitude = 0.0;
  double Phase = 0.0;
};

const int HarmonicCount = 4;

// The interpolated angle's error against the true angle, independent of
// the counter: sampled at AngleCount angles over one signal period.
struct TInterpolationError
{
  double PeakToPeak = 0.0;
  double MaxAbs = 0.0;
  double Mean = 0.0;
  double Rms = 0.0;
  // Orders 1 ... HarmonicCount.
  THarmonic Harmonics[HarmonicCount];
};

const int AngleCount = 4096;

// Angle number k of the AngleCount evenly spaced angles over one period.
inline double GridAngle(int K)
{
  return TwoPi * K / AngleCount;
}

TInterpolationError ComputeInterpolationError(const TEncoderChannel &A, const TEncoderChannel &B);

// Both channels' values at the AngleCount grid angles as the interpolator
// receives them, harmonic, noise and ADC included; the noise comes from
// the grid's own streams.
struct TGridSignals
{
  std::vector<double> A, B;
};

TGridSignals GridSignals(const TEncoderSetup &Setup);
// The error of the interpolator's angle of each pair against its grid angle.
TInterpolationError ComputeInterpolationError(const TGridSignals &Signals);
// The harmonics of an error given at the grid angles, with its statistics.
TInterpolationError GridErrorFigures(const std::vector<double> &Error);

// Small-distortion estimates from the channel parameters alone: offsets
// give harmonic 1, a gain mismatch and a phase difference harmonic 2, the
// mean phase the mean; the waveform's harmonic h of K gives harmonic h + 1
// of amplitude K for h = 3, 7, h - 1 for h = 5, 9, and both of K / sqrt 2
// for even h. Noise and the ADC add RMS instead.
struct TFirstOrderEstimate
{
  double Mean = 0.0;
  THarmonic Harmonics[HarmonicCount];
  // The RMS the noise and the ADC's steps add on their own, in radians;
  // 0 when off.
  double NoiseRms = 0.0;
  double QuantizationRms = 0.0;
};

// The fourth harmonic a third harmonic K sin(3x + Phase) of the waveform
// gives: K sin(4 theta + Phase).
THarmonic Harmonic3Error(double K, double Phase);

TFirstOrderEstimate EstimateInterpolationError(const TEncoderSetup &Setup);

#endif
