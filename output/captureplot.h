#ifndef CAPTUREPLOT_H
#define CAPTUREPLOT_H

#include "capture.h"
#include "captureanalysis.h"

class TGraphWidget;

// At most this many samples are drawn; more only blacken the same pixels.
const std::size_t MaximumPlottedSamples = 20000;

// The Lissajous figure, B against A on a common scale: the samples as
// crosses, outliers among them, and the fitted ellipse over them.
void ShowLissajous(TGraphWidget &Graph, const TCaptureView &Capture,
                   const TCaptureAnalysis &Analysis);
// The measured error of the samples but outliers, unrounded by any count,
// against the corrected angle in radians or, for Pitch > 0, both in mm
// over one pitch.
void ShowMeasuredError(TGraphWidget &Graph, const TCaptureView &Capture,
                       const TCaptureAnalysis &Analysis, double Pitch);

#endif
