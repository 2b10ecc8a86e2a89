#ifndef CAPTURESCREEN_H
#define CAPTURESCREEN_H

#include <cstddef>
#include <vector>

#include "capture.h"
#include "ellipsefit.h"

// A channel's end (its largest or smallest value) where samples sit in a
// flat top: an instrument's rail or an ADC's end of scale.
struct TClippedEnd
{
  int Channel = 0;  // 0 = A, 1 = B
  bool Top = true;  // the largest value, else the smallest
  double Value = 0.0;
  std::size_t Samples = 0;
};

// Which samples the ellipse is fitted to, and the fit.
struct TSampleScreen
{
  TEllipse Ellipse;
  // 1: fitted; 0: an outlier or clipped.
  TSampleMask Keep;
  // 1: far off the figure (a glitch); left out of the measured error too.
  TSampleMask Outlier;
  std::size_t Outliers = 0;
  std::vector<TClippedEnd> Clipped;
  // RMS of the kept samples' corrected radius less one.
  double Residual = 0.0;
};

// A sample is an outlier when its corrected radius is off by more than
// this many times the samples' median and by more than OutlierFloor of
// the amplitude.
const double OutlierFactor = 8.0;
const double OutlierFloor = 0.01;
// A channel's end is clipped when the ellipse fitted without it reaches
// beyond it by more than this share of the amplitude.
const double ClippingMargin = 0.005;

// Fits the ellipse to the samples that trace it: samples far outside the
// channels' range or far off a first fit are outliers, a channel's end
// held by two samples or more that the fit runs beyond is clipped; both
// are left out and the fit repeated. The problem of the last fit, None
// when Screen holds a valid ellipse.
TEllipseProblem ScreenAndFit(const TCaptureView &Capture, TSampleScreen &Screen);

#endif
