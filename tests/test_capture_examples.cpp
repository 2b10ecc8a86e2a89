// The example captures, in the shapes instruments and spreadsheets export,
// give back the signals they were made from (scripts/examples.py makes
// them with these parameters).
#include <gtest/gtest.h>
#include <string>

#include "captureanalysis.h"
#include "capturereader.h"
#include "capturetext.h"

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
  QString message;
  const QString path = QString(VANTREL_EXAMPLES_DIR) + "/" + Example.File;
  EXPECT_TRUE(ReadCaptureFile(path, options, result.Capture, message)) << message.toStdString();
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
  // Headers numeric or long, decimal commas, quotes: read as the clean
  // capture, to the generator's 12 digits.
  for (const char *file :
       {"clean.csv", "numbered-header.csv", "metadata-header.csv", "european.csv", "quoted.csv"}) {
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
}

TEST(CaptureExamplesTest, InstrumentFaultsAreLeftOutAndSaid)
{
  const TResult glitches = Analyse({"glitches.csv", Head, 1e-3});
  EXPECT_EQ(glitches.Analysis.Screen.Outliers, 3u);
  // Left out of the error too: as small as the clean capture's 0.179 rad.
  EXPECT_LT(glitches.Analysis.Measured.PeakToPeak, 0.19);

  const TResult overrange = Analyse({"overrange.csv", Head, 1e-9, 0.0, true});
  EXPECT_EQ(overrange.Capture.BadRows, 2);
  EXPECT_EQ(overrange.Capture.Size(), 2998u);

  const TResult clipped = Analyse({"clipped.csv", Head, 1e-9});
  EXPECT_GT(clipped.Analysis.Clipped[0], 500u);
  EXPECT_EQ(clipped.Analysis.Clipped[1], 0u);

  const TResult cut = Analyse({"cut-short.csv", Head, 1e-9});
  EXPECT_TRUE(cut.Capture.LastLineCut);
  EXPECT_EQ(cut.Capture.Size(), 2999u);

  // Without its reference the ADC's pair never turns round the zero.
  TResult raw;
  QString message;
  ASSERT_TRUE(ReadCaptureFile(QString(VANTREL_EXAMPLES_DIR) + "/adc12-counts.csv", {}, raw.Capture,
                              message));
  ASSERT_EQ(AnalyseCapture(raw.Capture, TEncoderSetup(), 0.0, raw.Analysis).Kind,
            TCaptureProblem::None);
  EXPECT_FALSE(raw.Analysis.MeasuredValid);
  ASSERT_FALSE(raw.Analysis.Warnings.empty());
  // The centre by hand: 2048 + 0.05 and 2048 - 0.03 of 1707 counts.
  const QString text = CaptureWarningText(raw.Analysis.Warnings[0]);
  EXPECT_TRUE(text.startsWith("the signals' centre (2133.3")) << text.toStdString();
  EXPECT_TRUE(text.contains(", 1996.8) lies outside their Lissajous figure")) << text.toStdString();
  EXPECT_TRUE(text.endsWith("give the reference level with --zero")) << text.toStdString();
}
