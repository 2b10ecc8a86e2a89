#include "captureplot.h"

#include <cmath>

#include "angles.h"
#include "fixedtexts.h"
#include "graphstyle.h"
#include "graphwidget.h"
#include "samplethinning.h"

namespace {

const int EllipsePoints = 720;

std::vector<std::size_t> Drawn(const TCaptureView &Capture, const TSampleScreen &Screen)
{
  return DrawnSamples(Capture.Size(), MaximumPlottedSamples, Screen.Outlier);
}

}  // namespace

void ShowLissajous(TGraphWidget &Graph, const TCaptureView &Capture,
                   const TCaptureAnalysis &Analysis)
{
  const TEllipse &ellipse = Analysis.Ellipse;
  Graph.ClearDataSets();
  SetReportAxes(Graph);
  Graph.SetEqualAspect(true);
  Graph.SetMinimumYExtent(1e-9);
  Graph.SetVTitle(ChannelLabel(1));
  Graph.SetHTitle(ChannelLabel(0));
  Graph.SetTitle("Capture - Lissajous figure and fitted ellipse");
  const int samples = Graph.AddDataSet(SampleColor, SampleStyle);
  for (std::size_t i : Drawn(Capture, Analysis.Screen))
    Graph.AddPoint(samples, TVector2(Capture.A[i], Capture.B[i]));
  const int fit = Graph.AddDataSet(FittedColor, FittedStyle);
  for (int k = 0; k <= EllipsePoints; ++k) {
    const double t = TwoPi * k / EllipsePoints;
    Graph.AddPoint(fit, TVector2(ellipse.A(t), ellipse.B(t)));
  }
  Graph.SetLegend({{"Samples", SampleColor}, {"Fitted ellipse", FittedColor}});
}

void ShowMeasuredError(TGraphWidget &Graph, const TCaptureView &Capture,
                       const TCaptureAnalysis &Analysis, double Pitch)
{
  Graph.ClearDataSets();
  SetReportAxes(Graph);
  Graph.SetMinimumYExtent(Pitch > 0.0 ? 1e-6 : 1e-4);
  Graph.SetVTitle(Pitch > 0.0 ? "Measured error (mm)" : "Measured error (rad)");
  Graph.SetHTitle(Pitch > 0.0 ? "Position in the pitch (mm)" : "Corrected angle (rad)");
  Graph.SetTitle("Capture - measured interpolation error (continuous)");
  const double unit = Pitch > 0.0 ? Pitch / TwoPi : 1.0;
  const int set = Graph.AddDataSet(MeasuredColor, SampleStyle);
  // An outlier's error means nothing; it shows on the Lissajous figure.
  for (std::size_t i : Drawn(Capture, Analysis.Screen)) {
    if (Analysis.Screen.Outlier[i])
      continue;
    const TSampleAngles angles = Analysis.Angles(Capture.A[i], Capture.B[i]);
    Graph.AddPoint(set, TVector2(angles.Corrected * unit, angles.Error * unit));
  }
}
