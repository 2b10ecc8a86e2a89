#ifndef INTERPOLATIONERROR_H
#define INTERPOLATIONERROR_H

#include "angles.h"
#include "encoderchannel.h"
#include "encodersetup.h"

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

// Small-distortion estimates from the channel parameters alone: offsets
// give harmonic 1, a gain mismatch and a phase difference harmonic 2, the
// mean phase the mean; harmonics 3 and 4 are zero.
struct TFirstOrderEstimate
{
  double Mean = 0.0;
  THarmonic Harmonics[HarmonicCount];
};

TFirstOrderEstimate EstimateInterpolationError(const TEncoderSetup &Setup);

#endif
