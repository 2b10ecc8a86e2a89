// The correction's look-up table after the ellipse, against
// scripts/golden_table.py: the largest error before any correction, after
// the ellipse and after a chip's 64-entry 8-bit table and a 256-entry
// unquantised one; and the table's own interpolation and quantisation
// bounds.
#include <gtest/gtest.h>
#include <cmath>
#include <random>

#include "angles.h"
#include "evaluationsummary.h"
#include "setupparameters.h"

namespace {

const double ChipStep = 4 * TwoPi / 16384;

double Degrees(double Rad)
{
  return Rad * 180.0 / Pi;
}

TEvaluationSummary Summary(const TEncoderSetup &Setup, const TTableSettings &Table)
{
  return Summarize(Setup, Evaluate(Setup), Table);
}

}  // namespace

TEST(CorrectionTableTest, ChipAndFineTablesMatchThePythonModel)
{
  // w(x) = sin x + 0.02 sin(3x + 0.5), gains 1.
  TEncoderSetup setup;
  FindSetupParameter("harmonic3")->In(setup) = 0.02;
  FindSetupParameter("harmonic3-phase")->In(setup) = 0.5;
  const double expected[] = {1.145990880487635, 1.1459908804876604, 0.042362005416864454,
                             0.0014052287534909304};
  const TEvaluationSummary chip = Summary(setup, {64, 8, ChipStep});
  const TEvaluationSummary fine = Summary(setup, {256, 0, 0.0});
  EXPECT_NEAR(Degrees(chip.Error.MaxAbs), expected[0], 1e-9);
  EXPECT_NEAR(Degrees(chip.Correction.Error.MaxAbs), expected[1], 1e-9);
  EXPECT_NEAR(Degrees(chip.Correction.Table.ErrorAfter.MaxAbs), expected[2], 1e-9);
  EXPECT_NEAR(Degrees(fine.Correction.Table.ErrorAfter.MaxAbs), expected[3], 1e-9);
  EXPECT_EQ(chip.Correction.Table.Step, ChipStep);
  EXPECT_EQ(chip.Correction.Table.Codes.size(), 64u);
  EXPECT_EQ(chip.Correction.Table.Clamped, 0);

  // Linear interpolation between entries h apart misses a correction of
  // curvature c'' by at most h^2 / 8 |c''|; here c is about 0.02 sin 4x, so
  // |c''| <= 16 * 0.02 (a little more for the second order).
  for (const int size : {16, 64, 256, 1024}) {
    const double h = TwoPi / size;
    const TCorrectionTable table = Summary(setup, {size, 0, 0.0}).Correction.Table;
    EXPECT_LT(table.ErrorAfter.MaxAbs, 1.05 * h * h / 8 * 16 * 0.02) << size;
  }
  // Quantising moves each entry by half a code at most, so the error by
  // at most half a step more; too small a step clamps the largest codes.
  const TCorrectionTable unquantised = Summary(setup, {64, 0, 0.0}).Correction.Table;
  for (const int bits : {4, 6, 8, 12}) {
    const TCorrectionTable table = Summary(setup, {64, bits, 0.0}).Correction.Table;
    EXPECT_LE(table.ErrorAfter.MaxAbs, unquantised.ErrorAfter.MaxAbs + table.Step / 2 + 1e-15)
        << bits;
    EXPECT_EQ(table.Clamped, 0) << bits;
  }
  EXPECT_GT(Summary(setup, {64, 4, 0.001}).Correction.Table.Clamped, 0);
}

// The published chip example: w(x) = sin x + 0.02 sin 2x + 0.01 sin(3x +
// pi), gains 0.95. The chip's figures: 1.88 deg before, 0.04 after its
// 64-entry 8-bit table; the fine table stays under 0.002 deg.
TEST(CorrectionTableTest, PublishedChipExampleMatchesThePythonModel)
{
  TEncoderSetup setup;
  for (const char *gain : {"gain-a", "gain-b"})
    FindSetupParameter(gain)->In(setup) = 0.95;
  FindSetupParameter("harmonic2")->In(setup) = 0.02;
  FindSetupParameter("harmonic3")->In(setup) = 0.01;
  FindSetupParameter("harmonic3-phase")->In(setup) = Pi;
  const TEvaluationSummary chip = Summary(setup, {64, 8, ChipStep});
  EXPECT_NEAR(Degrees(chip.Error.MaxAbs), 1.8766303700836613, 1e-9);
  EXPECT_NEAR(Degrees(chip.Correction.Error.MaxAbs), 2.650094589243157, 1e-9);
  EXPECT_NEAR(Degrees(chip.Correction.Table.ErrorAfter.MaxAbs), 0.041841057760222886, 1e-9);
  EXPECT_NEAR(Degrees(Summary(setup, {256, 0, 0.0}).Correction.Table.ErrorAfter.MaxAbs),
              0.0012365792920769362, 1e-9);
}

// Random waveforms, orders 2 to 9 of up to 1 % each with random phases, and
// random gain, offset and phase errors: the error after the table stays
// within linear interpolation's bound. To first order harmonic h moves the
// angle by at most K_h at orders up to h + 1, so the correction's
// curvature is at most sum K_h (h + 1)^2; the table is read between entries
// 2 pi / N apart and fitted on the grid's 2 pi / AngleCount.
TEST(CorrectionTableTest, RandomHarmonicsStayWithinTheInterpolationBound)
{
  std::mt19937 random(29);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  for (int trial = 0; trial < 10; ++trial) {
    TEncoderSetup setup;
    double curvature = 0.0;
    for (int h = 2; h <= MaximumHarmonic; ++h) {
      setup.Signal.Harmonic[h] = 0.01 * unit(random);
      setup.Signal.HarmonicPhase[h] = Pi * unit(random);
      curvature += std::fabs(setup.Signal.Harmonic[h]) * (h + 1) * (h + 1);
    }
    for (int c = 0; c < 2; ++c) {
      setup.Gain[c] = 0.85 + 0.05 * unit(random);
      setup.Offset[c] = 0.03 * unit(random);
    }
    setup.Phase[0] = 0.05 * unit(random);
    const double grid = TwoPi / AngleCount;
    for (const int size : {64, 256}) {
      const double step = TwoPi / size;
      const TCorrectionTable table = Summary(setup, {size, 0, 0.0}).Correction.Table;
      EXPECT_LT(table.ErrorAfter.MaxAbs, 1.1 * (step * step + grid * grid) / 8 * curvature)
          << "trial " << trial << ", " << size << " entries";
    }
  }
}
