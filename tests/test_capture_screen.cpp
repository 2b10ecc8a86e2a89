// Leaving glitches and clipped tops out of the ellipse fit: known signals
// with known faults come back as they were made.
#include <gtest/gtest.h>
#include <cmath>
#include <functional>
#include <random>

#include "angles.h"
#include "captureanalysis.h"
#include "capturescreen.h"

namespace {

const double OffsetA = 0.05, OffsetB = -0.03, AmplitudeA = 1.0, AmplitudeB = 0.95, Phase = 0.08;

// 4000 samples over 3 periods, unevenly spaced in angle; Fault changes a
// sample (its index, A, B) as an instrument would.
TCapture Generate(const std::function<void(int, double &, double &)> &Fault = nullptr,
                  double Noise = 0.0)
{
  std::mt19937 random(5);
  std::normal_distribution<double> gauss(0.0, 1.0);
  TCapture capture;
  for (int i = 0; i < 4000; ++i) {
    const double x = TwoPi * 3.0 * i / 4000;
    const double t = x + 0.3 * std::sin(x / 3.0);
    double a = OffsetA + AmplitudeA * std::sin(t + Phase) + Noise * gauss(random);
    double b = OffsetB + AmplitudeB * std::cos(t) + Noise * gauss(random);
    if (Fault)
      Fault(i, a, b);
    capture.A.push_back(a);
    capture.B.push_back(b);
    capture.Line.push_back(i + 1);
  }
  return capture;
}

void ExpectTruth(const TEllipse &E, double Tolerance)
{
  EXPECT_NEAR(E.OffsetA, OffsetA, Tolerance);
  EXPECT_NEAR(E.OffsetB, OffsetB, Tolerance);
  EXPECT_NEAR(E.AmplitudeA, AmplitudeA, Tolerance);
  EXPECT_NEAR(E.AmplitudeB, AmplitudeB, Tolerance);
  EXPECT_NEAR(E.Phase, Phase, Tolerance);
}

TSampleScreen Screen(const TCapture &Capture)
{
  TSampleScreen screen;
  EXPECT_EQ(ScreenAndFit(Capture, screen), TEllipseProblem::None);
  return screen;
}

}  // namespace

TEST(CaptureScreenTest, CleanQuantizedAndNoisySignalsKeepEverySample)
{
  const TSampleScreen clean = Screen(Generate());
  EXPECT_EQ(clean.Outliers, 0u);
  EXPECT_TRUE(clean.Clipped.empty());
  ExpectTruth(clean.Ellipse, 1e-9);
  EXPECT_LT(clean.Residual, 1e-9);

  // 12-bit counts: the peaks repeat a count, but the fit reaches no
  // further than them, so nothing is clipped.
  const TSampleScreen counts = Screen(Generate([](int, double &A, double &B) {
    A = std::round(A * 1700.0) / 1700.0;
    B = std::round(B * 1700.0) / 1700.0;
  }));
  EXPECT_EQ(counts.Outliers, 0u);
  EXPECT_TRUE(counts.Clipped.empty());
  ExpectTruth(counts.Ellipse, 1e-3);

  // Noise of 1 % keeps its samples too (8 median distances is over 5
  // standard deviations).
  const TSampleScreen noisy = Screen(Generate(nullptr, 0.01));
  EXPECT_LE(noisy.Outliers, 1u);
  EXPECT_TRUE(noisy.Clipped.empty());
  ExpectTruth(noisy.Ellipse, 2e-3);
}

TEST(CaptureScreenTest, GlitchesAreLeftOutAndTheFitIsAsWithoutThem)
{
  // Three spikes of three amplitudes in A, and one of a third of an
  // amplitude in B, which stays inside the channels' range.
  const TSampleScreen spikes = Screen(Generate([](int I, double &A, double &B) {
    if (I == 700 || I == 2100 || I == 3500)
      A += 3.0;
    if (I == 1234)
      B += 0.3;
  }));
  EXPECT_EQ(spikes.Outliers, 4u);
  for (int i : {700, 2100, 3500, 1234}) {
    EXPECT_TRUE(spikes.Outlier[i]) << i;
    EXPECT_FALSE(spikes.Keep[i]) << i;
  }
  ExpectTruth(spikes.Ellipse, 1e-9);

  // A spike a million amplitudes high, which would swamp any fit that
  // took it in.
  const TSampleScreen huge = Screen(Generate([](int I, double &A, double &) {
    if (I == 2000)
      A = 1e6;
  }));
  EXPECT_EQ(huge.Outliers, 1u);
  ExpectTruth(huge.Ellipse, 1e-9);
}

TEST(CaptureScreenTest, FlatTopsAtARailAreCountedAndLeftOut)
{
  // A rail at 0.9 cuts channel A's tops (it reaches 1.05); the bottom at
  // -0.95 stays, and B is whole.
  int expected = 0;
  const TCapture capture = Generate([&](int, double &A, double &) {
    if (A >= 0.9) {
      A = 0.9;
      ++expected;
    }
  });
  const TSampleScreen rail = Screen(capture);
  ASSERT_EQ(rail.Clipped.size(), 1u);
  EXPECT_EQ(rail.Clipped[0].Channel, 0);
  EXPECT_TRUE(rail.Clipped[0].Top);
  EXPECT_EQ(rail.Clipped[0].Value, 0.9);
  EXPECT_EQ(rail.Clipped[0].Samples, static_cast<std::size_t>(expected));
  EXPECT_GT(expected, 100);
  EXPECT_EQ(rail.Outliers, 0u);
  ExpectTruth(rail.Ellipse, 1e-9);

  // Both ends of B at an ADC's end of scale.
  const TSampleScreen ends =
      Screen(Generate([](int, double &, double &B) { B = std::clamp(B, -0.8, 0.8); }));
  ASSERT_EQ(ends.Clipped.size(), 2u);
  EXPECT_EQ(ends.Clipped[0].Channel, 1);
  EXPECT_EQ(ends.Clipped[1].Channel, 1);
  EXPECT_NE(ends.Clipped[0].Top, ends.Clipped[1].Top);
  ExpectTruth(ends.Ellipse, 1e-9);
}

TEST(CaptureScreenTest, ManyOutliersMakeTheFitUnreliableAndEachChannelHasItsZero)
{
  // 60 spikes in 4000 samples: 1.5 % outliers, over the 1 % a fit may have.
  TCapture capture = Generate([](int I, double &A, double &) {
    if (I % 67 == 33)
      A += 3.0;
  });
  TCaptureAnalysis analysis;
  ASSERT_EQ(AnalyseCapture(capture, TEncoderSetup(), 0.0, analysis).Kind, TCaptureProblem::None);
  EXPECT_EQ(analysis.Screen.Outliers, 60u);
  bool unreliable = false;
  for (const TCaptureWarning &warning : analysis.Warnings)
    unreliable |= warning.Kind == TCaptureWarning::ManyOutliers && warning.Value == 1.5;
  EXPECT_TRUE(unreliable);

  SubtractReference(capture, 0.25, -0.5);
  EXPECT_EQ(capture.Zero[0], 0.25);
  EXPECT_EQ(capture.Zero[1], -0.5);
  EXPECT_NEAR(capture.A[0], OffsetA + AmplitudeA * std::sin(Phase) - 0.25, 1e-15);
  EXPECT_NEAR(capture.B[0], OffsetB + AmplitudeB + 0.5, 1e-15);
}
