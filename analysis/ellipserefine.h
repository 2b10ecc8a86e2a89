#ifndef ELLIPSEREFINE_H
#define ELLIPSEREFINE_H

#include <vector>

#include "ellipsefit.h"

// Standard uncertainties (k = 1) of an ellipse's parameters, in its units.
struct TEllipseUncertainty
{
  double OffsetA = 0.0;
  double OffsetB = 0.0;
  double AmplitudeA = 0.0;
  double AmplitudeB = 0.0;
  double Phase = 0.0;
  // The parameters' covariance, in the order OffsetA, OffsetB,
  // AmplitudeA, AmplitudeB, Phase: what the figures derived from several
  // of them need.
  double Covariance[5][5] = {};
};

// Moves Ellipse, a first fit such as FitEllipse's, to the least squares
// of the Keep samples' distances from the curve, which an arc shorter than
// a period does not bias as it biases the conic's fit, and gives the
// parameters' uncertainties from the noise about the curve. Ellipse stays
// when the refinement does not reduce the distances; the uncertainties
// then hold for it.
void RefineEllipse(TSampleSpan<double> A, TSampleSpan<double> B, const TSampleMask &Keep,
                   TEllipse &Ellipse, TEllipseUncertainty &Uncertainty);

#endif
