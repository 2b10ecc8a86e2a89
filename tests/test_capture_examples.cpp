// The example captures, in the shapes instruments and spreadsheets export,
// give back the signals they were made from (scripts/examples.py makes
// them with these parameters).
#include <gtest/gtest.h>
#include <string>

#include "captureanalysis.h"
#include "capturereader.h"
#include "capturetext.h"
#include "samplethinning.h"

namespace {

struct TTruth
{
  double OffsetA, OffsetB, AmplitudeA, AmplitudeB, Phase;
};

// The head most examples are made from.
const TTruth Head = {0.05, -0.03, 1.0, 0.95, 0.08};
// The same in 12-bit counts, 2048 counts to 1.2 V, about mid-scale.
const double Counts = 2048 / 1.2;
const TTruth HeadInCounts = {0.05 * Counts, -0.03 * Counts, Counts, 0.95 * Counts, 0.08};

struct TExample
{
  const char *File;
  TTruth Truth;
  // Largest deviation of offsets and amplitudes over the amplitude, and
  // of the phase in radians.
  double Tolerance;
  double Zero = 0.0;
  bool SkipBadRows = false;
  TCaptureColumns Columns = {};
};

struct TResult
{
  TCapture Capture;
  TCaptureAnalysis Analysis;
};

TResult Analyse(const TExample &Example)
{
  TResult result;
  TCaptureReadOptions options;
  options.SkipBadRows = Example.SkipBadRows;
  options.Columns = Example.Columns;
  std::string message;
  const std::string path = std::string(VANTREL_EXAMPLES_DIR) + "/" + Example.File;
  EXPECT_TRUE(ReadCaptureFile(path, options, result.Capture, message)) << message;
  SubtractReference(result.Capture, Example.Zero, Example.Zero);
  const TCaptureProblem problem =
      AnalyseCapture(result.Capture, TEncoderSetup(), 0.0, result.Analysis);
  EXPECT_EQ(problem.Kind, TCaptureProblem::None) << CaptureProblemText(problem).toStdString();
  const TEllipse &e = result.Analysis.Ellipse;
  const TTruth &t = Example.Truth;
  const double scale = std::max(t.AmplitudeA, t.AmplitudeB);
  EXPECT_NEAR(e.OffsetA / scale, t.OffsetA / scale, Example.Tolerance) << Example.File;
  EXPECT_NEAR(e.OffsetB / scale, t.OffsetB / scale, Example.Tolerance) << Example.File;
  EXPECT_NEAR(e.AmplitudeA / scale, t.AmplitudeA / scale, Example.Tolerance) << Example.File;
  EXPECT_NEAR(e.AmplitudeB / scale, t.AmplitudeB / scale, Example.Tolerance) << Example.File;
  EXPECT_NEAR(e.Phase, t.Phase, Example.Tolerance) << Example.File;
  return result;
}

}  // namespace

TEST(CaptureExamplesTest, EveryExportShapeGivesBackItsSignals)
{
  // Headers numeric or long, decimal commas, quotes, timestamps, units, old
  // line ends, a logger's columns chosen by name: read as the clean
  // capture, to the generator's 12 digits.
  for (const char *file :
       {"clean.csv", "numbered-header.csv", "metadata-header.csv", "european.csv", "quoted.csv",
        "timestamps.csv", "units.csv", "quoted-commas.csv", "old-mac.csv"}) {
    const TResult result = Analyse({file, Head, 1e-9});
    EXPECT_EQ(result.Capture.Size(), 3000u) << file;
    EXPECT_TRUE(result.Analysis.Warnings.empty()) << file;
  }
  // Noise of 0.01 and 0.002 V: within a few noise widths over the root of
  // the samples.
  Analyse({"noisy.csv", Head, 2e-3});
  Analyse({"scope-export.csv", {0.02, -0.01, 0.5, 0.48, -0.05}, 2e-3, 2.5});
  // Counts: quantization of 1 in 1707.
  const TResult counts = Analyse({"adc12-counts.csv", HeadInCounts, 1e-4, 2048});
  EXPECT_TRUE(counts.Analysis.MeasuredValid);

  // Instruments' faults are left out of the fit (their counts and warnings
  // are checked through the program, in test_capture_cli), glitches out of
  // the error too: as small as the clean capture's 0.179 rad.
  const TResult glitches = Analyse({"glitches.csv", Head, 1e-3});
  EXPECT_LT(glitches.Analysis.Measured.PeakToPeak, 0.19);
  // Its glitches (lines 501, 1501, 2501) drawn too, the first two of 2.
  for (std::size_t maximum : {150, 2}) {
    const auto drawn = DrawnSamples(3000, maximum, glitches.Analysis.Screen.Outlier);
    for (std::size_t i : {500, 1500, 2500})
      EXPECT_EQ(std::binary_search(drawn.begin(), drawn.end(), i), maximum > 2 || i < 2000) << i;
  }
  EXPECT_EQ(Analyse({"overrange.csv", Head, 1e-9, 0.0, true}).Capture.BadRows, 2);
  // A logger's columns chosen by name; --- markers, the first in row 3.
  Analyse({"logger-columns.csv", Head, 1e-9, 0.0, false, {0, 0, "SIN", "COS"}});
  const TResult missing = Analyse({"missing.csv", Head, 1e-9, 0.0, true});
  EXPECT_EQ(missing.Capture.BadRows, 2);
  EXPECT_EQ(missing.Capture.HeaderLines, 0);
  // 0.3 of a period with noise: the figures are uncertain and
  // say so, and the truth lies within their 2u.
  const TResult slow = Analyse({"slow-noisy.csv", Head, 0.03});
  const TEllipse &e = slow.Analysis.Ellipse;
  const TEllipseUncertainty &u = slow.Analysis.Uncertainty;
  EXPECT_LT(std::fabs(e.OffsetA - Head.OffsetA), 2 * u.OffsetA);
  EXPECT_LT(std::fabs(e.AmplitudeB - Head.AmplitudeB), 2 * u.AmplitudeB);
  EXPECT_LT(std::fabs(e.Phase - Head.Phase), 2 * u.Phase);
  EXPECT_EQ(slow.Analysis.Warnings.front().Kind, TCaptureWarning::Uncertain);
  Analyse({"clipped.csv", Head, 1e-9});
  Analyse({"cut-short.csv", Head, 1e-9});
}
