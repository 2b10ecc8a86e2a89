#ifndef FITTEDFIGURES_H
#define FITTEDFIGURES_H

#include <array>

#include "captureanalysis.h"

// A figure every fit of a capture gives, with its standard uncertainty,
// by its JSON key.
struct TFittedFigure
{
  const char *Key;
  const char *Label;
  double (*Of)(const TCaptureAnalysis &Analysis);
  double (*UncertaintyOf)(const TCaptureAnalysis &Analysis);
};

const int FittedFigureCount = 7;
// Offsets, amplitudes and phase (rad) of the ellipse in the capture's
// units, the third harmonic and the measured error's peak-to-peak (rad).
const std::array<TFittedFigure, FittedFigureCount> &FittedFigures();

#endif
