#ifndef ELLIPSEFIT_H
#define ELLIPSEFIT_H

#include <vector>

#include "samplespan.h"

// The Lissajous figure of a channel pair as an ellipse, in the capture's
// units: A = OffsetA + AmplitudeA sin(theta + Phase), B = OffsetB +
// AmplitudeB cos(theta), so Phase is channel A's phase error against B.
struct TEllipse
{
  double OffsetA = 0.0;
  double OffsetB = 0.0;
  double AmplitudeA = 1.0;
  double AmplitudeB = 1.0;
  double Phase = 0.0;

  // The ellipse's point at angle Theta.
  double A(double Theta) const;
  double B(double Theta) const;

  // The sample moved onto the unit circle (Heydemann's correction):
  // Sine = sin theta, Cosine = cos theta for a sample on the ellipse.
  void Corrected(double A, double B, double &Sine, double &Cosine) const;
};

// Why samples trace no ellipse.
enum class TEllipseProblem
{
  None,
  ConstantA,    // channel A never changes
  ConstantB,    // channel B never changes
  Singular,     // the samples lie on a line or at a few points
  NotElliptic,  // the conic is a hyperbola or a parabola
  Empty,        // the conic is an ellipse with no points
  Degenerate,   // the ellipse's parameters are not finite
};

// One flag a sample: 1 where it takes part.
using TSampleMask = std::vector<unsigned char>;

// Least-squares fit of a x^2 + b y^2 + c x y + d x + e y = 1 to the
// samples (P. L. M. Heydemann, Applied Optics 20(19), 1981), to those Keep
// flags when given. Ellipse is valid when the answer is None.
TEllipseProblem FitEllipse(TSampleSpan<double> A, TSampleSpan<double> B, TEllipse &Ellipse,
                           const TSampleMask *Keep = nullptr);

#endif
