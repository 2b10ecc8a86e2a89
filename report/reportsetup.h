#ifndef REPORTSETUP_H
#define REPORTSETUP_H

#include <vector>

#include "encoderchannel.h"
#include "vector2.h"

// One encoder setup as the report sees it: the scale and both channels'
// distortions, with the window's start values as defaults.
struct TReportSetup
{
  double Pitch = 0.040;
  double Resolution = 0.0050;
  double Gain[2] = {1.0, 1.0};
  double Offset[2] = {0.0, 0.0};
  double Phase[2] = {0.0, 0.0};

  // Interpolation counts per pitch; the caller has checked the range.
  int Count() const;
  // Channel A (sine) or B (cosine, index 1) with this setup's values and
  // its sample table built.
  TEncoderChannel Channel(int Index) const;
};

// The interpolator's run over one pitch forward and back.
struct TEvaluation
{
  int Count = 0;
  // (true position, error) per sample, forward points first.
  std::vector<TVector2> Points;
  bool CountError = false;
  // Counter readings at the end of each pass, in whole counts.
  long CounterForward = 0;
  long CounterReturn = 0;

  std::size_t ForwardSize() const { return Points.size() / 2; }
};

TEvaluation Evaluate(const TReportSetup &Setup);

#endif
