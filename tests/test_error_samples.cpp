// The interpolation error's figures from its samples: statistics and
// harmonics of errors written out by hand, over even and uneven angles.
#include <gtest/gtest.h>
#include <cmath>

#include "angles.h"
#include "errorsamples.h"

namespace {

// An error of known make-up: mean 0.01, harmonic 1 of 0.02 at phase 0.3,
// harmonic 2 of 0.005 at phase -1, harmonic 4 of 0.001 at phase 2.
double KnownError(double T)
{
  return 0.01 + 0.02 * std::cos(T + 0.3) + 0.005 * std::cos(2 * T - 1.0) +
         0.001 * std::cos(4 * T + 2.0);
}

void ExpectKnownHarmonics(const TInterpolationError &E, double Tolerance)
{
  EXPECT_NEAR(E.Harmonics[0].Amplitude, 0.02, Tolerance);
  EXPECT_NEAR(E.Harmonics[0].Phase, 0.3, Tolerance / 0.02);
  EXPECT_NEAR(E.Harmonics[1].Amplitude, 0.005, Tolerance);
  EXPECT_NEAR(E.Harmonics[1].Phase, -1.0, Tolerance / 0.005);
  EXPECT_NEAR(E.Harmonics[2].Amplitude, 0.0, Tolerance);
  EXPECT_NEAR(E.Harmonics[3].Amplitude, 0.001, Tolerance);
  EXPECT_NEAR(E.Harmonics[3].Phase, 2.0, Tolerance / 0.001);
}

}  // namespace

TEST(ErrorSamplesTest, EvenGridGivesMeanRmsAndHarmonicsOfAKnownError)
{
  TErrorSamples<TErrorFigures::All> samples(TAngleSpacing::Even);
  const int n = 360;
  for (int k = 0; k < n; ++k) {
    const double t = TwoPi * k / n;
    samples.Add(THarmonicAngle::FromAngle(t), KnownError(t));
  }
  const TInterpolationError e = samples.Result();
  ExpectKnownHarmonics(e, 1e-14);
  EXPECT_NEAR(e.Mean, 0.01, 1e-15);
  // RMS of a constant and cosines: sqrt(c^2 + sum R^2 / 2).
  EXPECT_NEAR(e.Rms, std::sqrt(1e-4 + (4e-4 + 2.5e-5 + 1e-6) / 2), 1e-14);
}

TEST(ErrorSamplesTest, UnevenAnglesOverPartOfAPeriodGiveTheSameHarmonics)
{
  // 1.7 periods at angles that bunch up: a plain DFT would be wrong here.
  TErrorSamples<TErrorFigures::All> samples(TAngleSpacing::Uneven);
  const int n = 5000;
  for (int i = 0; i < n; ++i) {
    const double x = 1.7 * TwoPi * i / n;
    const double t = x + 0.4 * std::sin(x);
    samples.Add(THarmonicAngle::FromCosSin(std::cos(t), std::sin(t)), KnownError(t));
  }
  // The mean is the samples' own, which the bunching pulls off the
  // constant term; the harmonics are fitted exactly.
  ExpectKnownHarmonics(samples.Result(), 1e-12);
}

TEST(ErrorSamplesTest, ExtremesOfAListAndTheirLargestMagnitude)
{
  const double errors[] = {0.002, -0.013, 0.011, 0.0, -0.004};
  TErrorSamples<TErrorFigures::Extremes> extremes;
  TErrorSamples<TErrorFigures::All> all;
  for (int i = 0; i < 5; ++i) {
    extremes.Add(errors[i]);
    all.Add(THarmonicAngle::FromAngle(i), errors[i]);
  }
  // By hand: 0.011 - (-0.013), and |-0.013| beats 0.011.
  EXPECT_NEAR(extremes.PeakToPeak(), 0.024, 1e-17);
  EXPECT_DOUBLE_EQ(extremes.MaxAbs(), 0.013);
  EXPECT_EQ(all.Result().PeakToPeak, extremes.PeakToPeak());
  EXPECT_EQ(all.Result().MaxAbs, 0.013);
  EXPECT_NEAR(all.Result().Mean, -0.004 / 5, 1e-17);
  EXPECT_NEAR(all.Result().Rms, std::sqrt((4 + 169 + 121 + 16) * 1e-6 / 5), 1e-17);

  // The largest magnitude may be the maximum, and errors all of one sign.
  TErrorSamples<TErrorFigures::Extremes> positive;
  for (double e : {0.003, 0.009, 0.004})
    positive.Add(e);
  EXPECT_DOUBLE_EQ(positive.MaxAbs(), 0.009);
  EXPECT_DOUBLE_EQ(positive.PeakToPeak(), 0.006);
}
