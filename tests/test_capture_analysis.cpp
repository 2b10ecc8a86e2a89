// The capture's ellipse fit and measured interpolation error: known
// signals come back, and refused samples are named.
#include <gtest/gtest.h>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>
#include <random>

#include "captureanalysis.h"
#include "capturetext.h"
#include "countederror.h"
#include "encoderinterpolator.h"
#include "samplethinning.h"

namespace {

// The signals the fit must give back, written out independently of it.
struct TSignals
{
  double OffsetA, OffsetB, AmplitudeA, AmplitudeB, Phase;
  // The waveform's third harmonic, as tools/makecapture.cpp draws it.
  double Harmonic3 = 0.0;
};

// Samples = A, B at Periods periods, unevenly spaced in angle (a scale
// that speeds up and slows down), plus Gaussian noise of Noise.
TCapture Generate(const TSignals &S, double Periods, int Samples, double Noise, unsigned Seed)
{
  std::mt19937 random(Seed);
  std::normal_distribution<double> gauss(0.0, Noise > 0.0 ? Noise : 1.0);
  TCapture capture;
  for (int i = 0; i < Samples; ++i) {
    const double x = TwoPi * Periods * i / Samples;
    const double t = x + 0.3 * std::sin(x / Periods);
    const double na = Noise > 0.0 ? gauss(random) : 0.0;
    const double nb = Noise > 0.0 ? gauss(random) : 0.0;
    const double k = S.Harmonic3;
    capture.A.push_back(
        S.OffsetA + S.AmplitudeA * (std::sin(t + S.Phase) + k * std::sin(3 * (t + S.Phase))) + na);
    capture.B.push_back(S.OffsetB + S.AmplitudeB * (std::cos(t) - k * std::cos(3 * t)) + nb);
    capture.Line.push_back(i + 1);
  }
  return capture;
}

TCaptureAnalysis Analyse(const TCapture &Capture, double Amplitude = 0.0)
{
  TCaptureAnalysis analysis;
  const TCaptureProblem problem = AnalyseCapture(Capture, TEncoderSetup(), Amplitude, analysis);
  EXPECT_EQ(problem.Kind, TCaptureProblem::None) << CaptureProblemText(problem).toStdString();
  return analysis;
}

// The warnings' texts that contain Part.
int WarningsWith(const TCaptureAnalysis &Analysis, const char *Part)
{
  int count = 0;
  for (const TCaptureWarning &warning : Analysis.Warnings)
    count += CaptureWarningText(warning).contains(Part);
  return count;
}

}  // namespace

TEST(CaptureAnalysisTest, CleanCapturesGiveTheirSignalsBackWithinOneBillionth)
{
  // Offsets up to 0.2 of the amplitude, 10 % mismatch, 0.2 rad either way,
  // in volts about a bias, 3 periods of 10000 samples.
  const TSignals cases[] = {{0.2, -0.2, 1.0, 0.9, 0.2},
                            {2.5 + 0.1, 2.5 - 0.05, 0.45, 0.5, -0.2},
                            {-0.04, 0.0, 0.002, 0.0022, 0.05}};
  for (const TSignals &s : cases) {
    const double unit = std::max(s.AmplitudeA, s.AmplitudeB);
    const TCaptureAnalysis analysis = Analyse(Generate(s, 3.0, 10000, 0.0, 1));
    // Compared in units of the larger amplitude.
    const TEllipse &e = analysis.Ellipse;
    const double found[] = {e.OffsetA, e.OffsetB, e.AmplitudeA, e.AmplitudeB, e.Phase * unit};
    const double made[] = {s.OffsetA, s.OffsetB, s.AmplitudeA, s.AmplitudeB, s.Phase * unit};
    for (int i = 0; i < 5; ++i)
      EXPECT_NEAR(found[i] / unit, made[i] / unit, 1e-9) << i;
    EXPECT_NEAR(analysis.Periods, 3.0, 1e-3);
    EXPECT_LT(analysis.ResidualPercent, 1e-9);
  }
  // Noise of 0.002 on radius ~1 leaves an RMS residual near 0.2 %.
  EXPECT_NEAR(Analyse(Generate(cases[0], 3.0, 10000, 0.002, 7)).ResidualPercent, 0.2, 0.05);
}

// The measured error's peak-to-peak of a noiseless capture of S, worked out
// from the signals as drawn: the raw pair's angle less the angle the true
// ellipse corrects it to.
double TruePeakToPeak(const TSignals &S, double Periods, int Samples)
{
  const TCapture clean = Generate(S, Periods, Samples, 0.0, 1);
  double low = INFINITY, high = -INFINITY;
  for (std::size_t i = 0; i < clean.Size(); ++i) {
    const double cosine = (clean.B[i] - S.OffsetB) / S.AmplitudeB;
    const double sine =
        ((clean.A[i] - S.OffsetA) / S.AmplitudeA - std::sin(S.Phase) * cosine) / std::cos(S.Phase);
    const double error =
        std::remainder(std::atan2(clean.A[i], clean.B[i]) - std::atan2(sine, cosine), TwoPi);
    low = std::min(low, error);
    high = std::max(high, error);
  }
  return high - low;
}

// Noisy captures of one signal over many seeds: the truth lies within 2u
// of the fit about 95 % of the time, u is neither too small nor too large,
// and half a period's offsets carry no bias (with 2 % noise the conic's
// fit alone puts them 2 u off). The error's peak-to-peak is not widened by
// the noise.
TEST(CaptureAnalysisTest, UncertaintiesCoverTheTruthOnShortArcsAndLongOnes)
{
  const TSignals s{0.04, -0.03, 1.0, 0.96, 0.05};
  // A third harmonic bends the figure away from any ellipse: its own capture.
  TSignals bent = s;
  bent.Harmonic3 = 0.01;
  const int seeds = 20;
  for (const double periods : {0.5, 3.0}) {
    const double pp = TruePeakToPeak(s, periods, 4000);
    int covered[7] = {};
    double squares = 0.0, bias[2] = {};
    for (int seed = 1; seed <= seeds; ++seed) {
      const TCaptureAnalysis a = Analyse(Generate(s, periods, 4000, 0.02, seed));
      const TEllipse &e = a.Ellipse;
      const TEllipseUncertainty &u = a.Uncertainty;
      const double off[] = {e.OffsetA - s.OffsetA, e.OffsetB - s.OffsetB,
                            e.AmplitudeA - s.AmplitudeA, e.AmplitudeB - s.AmplitudeB,
                            e.Phase - s.Phase};
      const double unc[] = {u.OffsetA, u.OffsetB, u.AmplitudeA, u.AmplitudeB, u.Phase};
      for (int k = 0; k < 5; ++k) {
        covered[k] += std::fabs(off[k]) <= 2.0 * unc[k];
        squares += off[k] * off[k] / (unc[k] * unc[k]);
      }
      const TCaptureAnalysis b = Analyse(Generate(bent, periods, 4000, 0.02, seed));
      covered[5] += std::fabs(b.Harmonic3 - bent.Harmonic3) <= 2.0 * b.Harmonic3Uncertainty;
      covered[6] += std::fabs(a.Measured.PeakToPeak - pp) <= 2.0 * a.PeakToPeakUncertainty;
      bias[0] += off[0] / u.OffsetA / seeds;
      bias[1] += off[1] / u.OffsetB / seeds;
    }
    for (int k = 0; k < 7; ++k)
      EXPECT_GE(covered[k], 17) << periods << " periods, figure " << k;
    // The squared error in u averages one; over 100 draws it lies within 0.6 ... 1.5.
    EXPECT_NEAR(squares / (5 * seeds), 1.0, 0.5) << periods;
    EXPECT_LT(std::fabs(bias[0]), 0.7) << periods;
    EXPECT_LT(std::fabs(bias[1]), 0.7) << periods;
  }
  // 4 % noise on 0.4 of a period leaves an offset uncertain by well over
  // 0.5 % of the amplitude; 0.2 % noise on three periods by 0.01 %.
  const TCaptureAnalysis a = Analyse(Generate(s, 0.4, 400, 0.04, 1));
  EXPECT_EQ(WarningsWith(a, "2u of"), 1);
  // It names the figure furthest beyond its limit, 1 % or 0.01 rad.
  const TEllipse &e = a.Ellipse;
  const TEllipseUncertainty &u = a.Uncertainty;
  const double shares[] = {2.0 * u.OffsetA / e.AmplitudeA, 2.0 * u.OffsetB / e.AmplitudeB,
                           2.0 * u.AmplitudeA / e.AmplitudeA, 2.0 * u.AmplitudeB / e.AmplitudeB,
                           2.0 * u.Phase};
  const double worst = *std::max_element(shares, shares + 5);
  for (const TCaptureWarning &warning : a.Warnings)
    if (warning.Kind == TCaptureWarning::Uncertain) {
      EXPECT_NEAR(warning.Value, worst == shares[4] ? worst : 100.0 * worst, 1e-12);
    }
  EXPECT_EQ(WarningsWith(Analyse(Generate(s, 3.0, 3000, 0.002, 1)), "2u of"), 0);
}

TEST(CaptureAnalysisTest, ModelFillsTheRangeAndItsSimulationMatchesTheMeasuredError)
{
  const TSignals s = {0.1, -0.15, 1.5, 1.4, 0.15};
  const TCaptureAnalysis analysis = Analyse(Generate(s, 3.0, 10000, 0.0, 1));
  // By hand: the larger of |offset| + amplitude is 0.1 + 1.5 = 1.6.
  EXPECT_NEAR(analysis.Scale, 1.6, 1e-9);
  EXPECT_NEAR(analysis.Model.Gain[0], 1.5 / 1.6, 1e-9);
  EXPECT_NEAR(analysis.Model.Gain[1], 1.4 / 1.6, 1e-9);
  EXPECT_NEAR(analysis.Model.Offset[0], 0.1 / 1.6, 1e-9);
  EXPECT_NEAR(analysis.Model.Offset[1], -0.15 / 1.6, 1e-9);
  EXPECT_NEAR(analysis.Model.Phase[0], 0.15, 1e-9);
  EXPECT_EQ(analysis.Model.Phase[1], 0.0);
  EXPECT_TRUE(analysis.Warnings.empty());

  const TInterpolationError simulated =
      ComputeInterpolationError(analysis.Model.Channel(0), analysis.Model.Channel(1));
  const TInterpolationError &measured = analysis.Measured;
  EXPECT_NEAR(measured.PeakToPeak / simulated.PeakToPeak, 1.0, 3e-3);
  EXPECT_NEAR(measured.MaxAbs / simulated.MaxAbs, 1.0, 3e-3);
  EXPECT_NEAR(measured.Rms / simulated.Rms, 1.0, 3e-3);
  for (int h = 0; h < 2; ++h)
    EXPECT_NEAR(measured.Harmonics[h].Amplitude / simulated.Harmonics[h].Amplitude, 1.0, 3e-3);

  // Beyond --amplitude both channels clip, and the model says so.
  const TCaptureAnalysis clipped = Analyse(Generate(s, 3.0, 10000, 0.0, 1), 1.5);
  EXPECT_NEAR(clipped.Model.Gain[0], 1.0, 1e-9);
  EXPECT_EQ(WarningsWith(clipped, "clips"), 2);
}

// Counted at any resolution, the measured error of samples taken where the
// simulation samples is the simulation's error of the fitted model, point
// for point: the window draws both on one graph.
TEST(CaptureAnalysisTest, CountedErrorIsTheSimulatedCountersError)
{
  const TSignals s = {0.1, -0.15, 1.5, 1.4, 0.15};
  const TCaptureAnalysis analysis = Analyse(Generate(s, 3.0, 10000, 0.0, 1));
  const TEncoderChannel a = analysis.Model.Channel(0), b = analysis.Model.Channel(1);
  for (int count : {4, 10, 400}) {
    TEncoderInterpolator interpolator;
    interpolator.SetInterpolatorCount(count);
    bool count_error = false;
    // One pitch of 2 pi: positions and errors in rad.
    const std::vector<TVector2> simulated = interpolator.Evaluate(TwoPi, a, b, &count_error);
    const TCountedError counted(analysis, count, interpolator.d_data_size);
    const int samples = count * interpolator.d_data_size;
    for (int i = 0; i < samples; ++i) {
      const double t = TwoPi * (i - 0.5) / samples;
      const double sample_a = s.OffsetA + s.AmplitudeA * std::sin(t + s.Phase);
      const double sample_b = s.OffsetB + s.AmplitudeB * std::cos(t);
      const TVector2 point = counted.At(analysis.CorrectedAngle(sample_a, sample_b),
                                        analysis.RawAngle(sample_a, sample_b));
      ASSERT_NEAR(point.x, simulated[i].x, 1e-9) << count << " " << i;
      ASSERT_NEAR(point.y, simulated[i].y, 1e-9) << count << " " << i;
    }
  }
}

TEST(CaptureAnalysisTest, OffsetErrorMatchesTheWorkedValues)
{
  // A unit circle shifted by 0.1 in A, evenly sampled over 3 periods. By
  // hand the error peaks at +-asin(0.1); an independent Python sum over
  // 100000 angles of atan2(sin t + 0.1, cos t) - t gives harmonic 1 of
  // 0.1 at phase 0, harmonic 2 of 0.005 at phase pi/2 and mean 0.
  TCapture capture;
  for (int i = 0; i < 3000; ++i) {
    const double t = TwoPi * i / 1000.0 + 0.001;
    capture.A.push_back(0.1 + std::sin(t));
    capture.B.push_back(std::cos(t));
  }
  const TCaptureAnalysis analysis = Analyse(capture);
  const TInterpolationError &e = analysis.Measured;
  EXPECT_NEAR(e.MaxAbs, 0.1001674211615598, 5e-5);
  EXPECT_NEAR(e.PeakToPeak, 0.2003348423049456, 1e-4);
  EXPECT_NEAR(e.Mean, 0.0, 1e-9);
  EXPECT_NEAR(e.Harmonics[0].Amplitude, 0.1, 1e-9);
  EXPECT_NEAR(e.Harmonics[0].Phase, 0.0, 1e-9);
  EXPECT_NEAR(e.Harmonics[1].Amplitude, 0.005, 1e-9);
  EXPECT_NEAR(e.Harmonics[1].Phase, TwoPi / 4, 1e-7);
  EXPECT_NEAR(analysis.Periods, 3.0 - 1.0 / 1000, 1e-9);
}

// Too few rows and too little of a period are refused, and half a period
// warned of, through the program (test_capture_cli).
TEST(CaptureAnalysisTest, SamplesThatTraceNoEllipseAreRefused)
{
  TCapture line, point, hyperbola;
  for (int i = 0; i < 200; ++i) {
    const double t = TwoPi * i / 200;
    line.A.push_back(std::sin(t));
    line.B.push_back(0.5 * std::sin(t) + 1.0);
    point.A.push_back(1.0);
    point.B.push_back(2.0);
    hyperbola.A.push_back(0.5 + i * 0.01);
    hyperbola.B.push_back(1.0 / (0.5 + i * 0.01));
  }
  for (const auto &[capture, says] : {std::pair(&line, "no ellipse"), std::pair(&point, "constant"),
                                      std::pair(&hyperbola, "hyperbola")}) {
    TCaptureAnalysis analysis;
    const TCaptureProblem problem = AnalyseCapture(*capture, TEncoderSetup(), 0.0, analysis);
    EXPECT_NE(CaptureProblemText(problem).toStdString().find(says), std::string::npos) << says;
  }
}

TEST(CaptureAnalysisTest, ErrorsInCountsAndMmAreTheirShareOfThePeriod)
{
  const TSignals distorted = {0.05, -0.03, 1.0, 0.95, 0.08};
  const TCapture capture = Generate(distorted, 3.0, 3000, 0.0, 1);
  const TEncoderSetup base{0.04, 0.001, {1.0, 1.0}, {0.0, 0.0}, {0.0, 0.0}, {}};
  TCaptureReport report;
  report.Name = "generated";
  report.Capture = capture;
  ASSERT_EQ(AnalyseCapture(capture, base, 0.0, report.Analysis).Kind, TCaptureProblem::None);
  report.Simulation = Summarize(report.Analysis.Model, Evaluate(report.Analysis.Model));
  report.PitchGiven = report.ResolutionGiven = true;

  // 0.04 / 0.001 = 40 counts and 0.04 mm to the 2 pi rad of a period.
  const double counts_per_rad = 40 / 6.283185307179586;
  const double mm_per_rad = 0.04 / 6.283185307179586;
  const QJsonObject root = QJsonDocument::fromJson(CaptureSummaryJson(report)).object();
  const QJsonObject measured = root["measured_error"].toObject();
  for (const char *key : {"peak_to_peak", "max_abs", "mean", "rms"}) {
    const QJsonObject error = measured[key].toObject();
    const double rad = error["rad"].toDouble();
    EXPECT_GT(std::fabs(rad), 0.01) << key;
    EXPECT_NEAR(error["counts"].toDouble(), rad * counts_per_rad, 1e-12) << key;
    EXPECT_NEAR(error["mm"].toDouble(), rad * mm_per_rad, 1e-15) << key;
    EXPECT_NEAR(error["percent_period"].toDouble(), rad * 100 / 6.283185307179586, 1e-12) << key;
  }
  for (const QJsonValue harmonic : measured["harmonics"].toArray())
    EXPECT_NEAR(harmonic["amplitude_mm"].toDouble(),
                harmonic["amplitude_rad"].toDouble() * mm_per_rad, 1e-15);
}

TEST(CaptureAnalysisTest, CorrectedAngleIsTheSignalsOwnAngleInOneTurn)
{
  // A distorted clean capture: the corrected angle of each pair is the
  // angle t it was made from, taken into 0 ... 2 pi.
  const TSignals distorted = {0.1, -0.05, 0.9, 1.1, -0.15};
  const int samples = 997;
  const TCapture capture = Generate(distorted, 2.0, samples, 0.0, 1);
  const TCaptureAnalysis analysis = Analyse(capture);
  for (int i = 0; i < samples; ++i) {
    const double x = TwoPi * 2.0 * i / samples;
    const double t = std::fmod(x + 0.3 * std::sin(x / 2.0), TwoPi);
    const double corrected = analysis.CorrectedAngle(capture.A[i], capture.B[i]);
    EXPECT_GE(corrected, 0.0) << i;
    EXPECT_LT(corrected, TwoPi) << i;
    // Near 0 and 2 pi either end is the same angle.
    EXPECT_NEAR(std::remainder(corrected - t, TwoPi), 0.0, 1e-8) << i;
  }
}

TEST(CaptureAnalysisTest, DrawnSamplesCoverTheAnglesOfEvenlySampledCaptures)
{
  // Sample i at 2 pi i / period, blocks of rows / maximum a multiple, a
  // fraction or 3/2 of it: each eighth gets three quarters of its share.
  for (std::size_t rows : {30000, 100000, 1000000, 45000})
    for (std::size_t period : {1000, 200, 8})
      for (std::size_t maximum : {150, 20000}) {
        const std::vector<std::size_t> kept = DrawnSamples(rows, maximum, {});
        std::size_t eighths[8] = {};
        for (std::size_t i : kept)
          ++eighths[8 * (i % period) / period];
        EXPECT_TRUE(kept.size() == maximum && kept.back() < rows);
        EXPECT_EQ(std::adjacent_find(kept.begin(), kept.end(), std::greater_equal()), kept.end());
        EXPECT_GE(*std::min_element(eighths, eighths + 8), 3 * maximum / 32) << rows << period;
      }
  EXPECT_EQ(DrawnSamples(3, 150, {}), (std::vector<std::size_t>{0, 1, 2}));
}

// Captures made as tools/makecapture makes them, a sample a microsecond:
// t = 2 pi P (v + 0.3 / (2 pi) sin 2 pi v), v = i / N, run backward, or
// out and back with v = 2i / N up to 1 and 2 - 2i / N after.
TEST(CaptureAnalysisTest, MotionHasItsDirectionTurnsTravelAndFrequencies)
{
  const auto Back = TCaptureMotion::Backward, Both = TCaptureMotion::Both;
  const struct
  {
    TCaptureMotion::TDirection Direction;
    double Periods, Noise;
    int Samples;
    // By hand: travel P (1 - 1/N) - 0.3 P / (2 pi) sin(2 pi / N), about
    // P (1 - 1.3 / N), twice that out and back; the largest rate at the
    // start, 1.3 P (2.6 P out and back) in N microseconds.
    double Travel, Largest, Tolerance;
  } cases[] = {
      {TCaptureMotion::Forward, 3, 0.0, 10000, 3 * (1 - 1.3e-4), 1.3 * 3 / 0.01, 0.005},
      {Back, 3, 0.002, 10000, 3 * (1 - 1.3e-4), 1.3 * 3 / 0.01, 0.005},
      {Both, 2, 0.002, 10000, 4 * (1 - 1.3e-4), 2.6 * 2 / 0.01, 0.005},
      // Slow and noisy: the noise's turns are no reversals.
      {TCaptureMotion::Forward, 1, 0.03, 50000, 1 - 1.3 / 50000, 1.3 / 0.05, 0.05},
  };
  for (const auto &c : cases) {
    std::mt19937 random(3);
    std::normal_distribution<double> gauss(0.0, 1.0);
    TCapture capture;
    capture.TimeColumn = 1;
    for (int i = 0; i < c.Samples; ++i) {
      double v = static_cast<double>(i) / c.Samples;
      v = c.Direction != Both ? v : v < 0.5 ? 2 * v : 2 - 2 * v;
      const double t = (c.Direction == Back ? -TwoPi : TwoPi) * c.Periods *
                       (v + 0.3 / TwoPi * std::sin(TwoPi * v));
      capture.A.push_back(std::sin(t) + c.Noise * gauss(random));
      capture.B.push_back(std::cos(t) + c.Noise * gauss(random));
      capture.Line.push_back(i + 1);
      capture.Time.push_back(i * 1e-6);
    }
    const TCaptureMotion m = Analyse(capture).Motion;
    const double duration = (c.Samples - 1) * 1e-6;
    EXPECT_EQ(m.Direction, c.Direction) << c.Periods;
    EXPECT_EQ(m.Reversals, c.Direction == Both) << c.Periods;
    EXPECT_NEAR(m.TravelPeriods, c.Travel, c.Tolerance * c.Travel / 5) << c.Periods;
    EXPECT_NEAR(m.DurationSeconds, duration, 1e-15);
    EXPECT_NEAR(m.MeanFrequency, m.TravelPeriods / duration, 1e-9);
    EXPECT_NEAR(m.MaxFrequency, c.Largest, c.Tolerance * c.Largest) << c.Periods;
    EXPECT_EQ(m.TimeColumn, 1);
  }
}
