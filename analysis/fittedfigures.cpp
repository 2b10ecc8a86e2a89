#include "fittedfigures.h"

const std::array<TFittedFigure, FittedFigureCount> &FittedFigures()
{
  using A = const TCaptureAnalysis &;
  static const std::array<TFittedFigure, FittedFigureCount> figures = {{
      {"offset_a", "Offset A", [](A a) { return a.Ellipse.OffsetA; },
       [](A a) { return a.Uncertainty.OffsetA; }},
      {"offset_b", "Offset B", [](A a) { return a.Ellipse.OffsetB; },
       [](A a) { return a.Uncertainty.OffsetB; }},
      {"amplitude_a", "Amplitude A", [](A a) { return a.Ellipse.AmplitudeA; },
       [](A a) { return a.Uncertainty.AmplitudeA; }},
      {"amplitude_b", "Amplitude B", [](A a) { return a.Ellipse.AmplitudeB; },
       [](A a) { return a.Uncertainty.AmplitudeB; }},
      {"phase_rad", "Phase error of A (rad)", [](A a) { return a.Ellipse.Phase; },
       [](A a) { return a.Uncertainty.Phase; }},
      {"harmonic3", "Third harmonic", [](A a) { return a.Harmonic3; },
       [](A a) { return a.Harmonic3Uncertainty; }},
      {"error_pp_rad", "Error peak-to-peak (rad)", [](A a) { return a.Measured.PeakToPeak; },
       [](A a) { return a.PeakToPeakUncertainty; }},
  }};
  return figures;
}
