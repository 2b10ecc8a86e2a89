// The signal chain (third harmonic, noise, ADC) and the calibration's
// correction, against scripts/golden_signal.py, hand derivations and
// stated statistical tolerances.
#include <gtest/gtest.h>
#include <cmath>
#include <vector>

#include "captureanalysis.h"
#include "encoderinterpolator.h"
#include "evaluationsummary.h"
#include "gaussiannoise.h"
#include "signalchain.h"
#include "studytrial.h"

namespace {

TSignalOptions SignalOf(double K, double Phi, double Noise, int Bits, std::uint64_t Seed)
{
  TSignalOptions signal;
  signal.Harmonic[3] = K;
  signal.HarmonicPhase[3] = Phi;
  signal.Noise = Noise;
  signal.AdcBits = Bits;
  signal.Seed = Seed;
  return signal;
}

// Pitch 0.040 and resolution 0.005, as the window starts.
TEncoderSetup SetupOf(const double (&C)[8])
{
  return {0.040, 0.005, {C[0], C[3]}, {C[1], C[4]}, {C[2], C[5]}, SignalOf(C[6], C[7], 0.0, 0, 1)};
}

// peak-to-peak, largest magnitude, mean, RMS, then amplitude and phase of
// harmonics 1 ... 4.
void ExpectFigures(const TInterpolationError &Error, const double (&Expected)[12], double Tolerance)
{
  const double actual[4] = {Error.PeakToPeak, Error.MaxAbs, Error.Mean, Error.Rms};
  for (int i = 0; i < 4; ++i)
    EXPECT_NEAR(actual[i], Expected[i], Tolerance) << "figure " << i;
  for (int h = 0; h < HarmonicCount; ++h) {
    EXPECT_NEAR(Error.Harmonics[h].Amplitude, Expected[4 + 2 * h], Tolerance) << "order " << h + 1;
    // A phase means something only where there is an amplitude.
    if (Expected[4 + 2 * h] > 1e-6) {
      EXPECT_NEAR(Error.Harmonics[h].Phase, Expected[5 + 2 * h], Tolerance / Expected[4 + 2 * h])
          << "order " << h + 1;
    }
  }
}

TEST(SignalModelTest, DistortedErrorAndCorrectionAgreeWithThePythonModel)
{
  // From scripts/golden_signal.py: gain, offset, phase of A and of B, K, PHI.
  const struct
  {
    double Case[8];
    double Error[12];
    double Ellipse[5];
    double Corrected[12];
  } cases[] = {
      {{1.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.02, 0.5},
       {0.040002623538956006, 0.020001314062337627, -1.1839487723541708e-16, 0.01414284283856523,
        7.299609521340508e-17, -1.6780819967181297, 7.695885925037811e-17, -1.6916201692346486,
        2.934509352921348e-17, -1.4987747534927158, 0.020000000000000035, -1.0707963267948968},
       {6.648001217616239e-16, 1.2905198105382448e-16, 1.0005996602677556, 1.000599660267757,
        -2.383255951592164e-16},
       {0.04000262353895767, 0.020001314062338515, 4.7704895589362195e-18, 0.014142842838565236,
        7.175911031062168e-16, -2.7472369639562766, 6.916000477911073e-16, -1.3753679030411958,
        4.519489810264282e-17, -1.7043912112533957, 0.020000000000000052, -1.0707963267948966}},
      {{0.95, 0.03, 0.05, 0.9, -0.02, -0.02, -0.03, 1.2},
       {0.18277255412200122, 0.1102909900433261, 0.015799959558312333, 0.04936965328819569,
        0.03889481078171158, -0.5740546925895758, 0.044848289086035734, -0.6825267823751056,
        0.0017399601050297282, 0.3850035929736169, 0.0290706957837733, 2.8121810031027645},
       {0.030000000000000686, -0.019999999999999945, 0.9477193747120249, 0.9048456946738177,
        0.0730215041887448},
       {0.07006920714727631, 0.05306074599898995, -0.021233331482005034, 0.030596712806815248,
        6.530479021976131e-16, -2.9639946426901953, 0.008372935936651942, -1.911372385691939,
        1.8226867430847203e-16, -1.588995636943461, 0.03000474302018581, 2.831337861441177}},
      {{0.9, -0.01, 0.0, 0.9, 0.02, 0.1, 0.2, -2.0},
       {0.4816744400044204, 0.26533077710530684, 0.04691473653334241, 0.15452036126909188,
        0.02467028935827853, 2.166721066149985, 0.051165687203351254, 2.693973544604626,
        0.000353838945886107, 0.16541830990072595, 0.19891906321339822, 2.9163652814671557},
       {-0.004025683961674631, 0.01324292550470683, 0.970155546390636, 0.9172970511711668,
        -0.11411787592842837},
       {0.48347242238896704, 0.37535160662670286, 0.10781996549512958, 0.1842647901323785,
        0.009928520562226678, 2.493016890780645, 0.06506386914804994, 1.3464078551846035,
        0.001154039334464265, -2.25334678958054, 0.19969903638529493, 2.9303627252396423}},
      // A clips at 1.4: the fit sees the flat tops.
      {{1.3, 0.1, 0.0, 1.0, 0.0, 0.0, 0.05, 0.0},
       {0.4734375689929296, 0.23671878449646488, -4.896191958814189e-14, 0.11270545436474783,
        0.0755565335978415, -1.273756134225727e-15, 0.10742094103339522, -1.5707963267939877,
        0.030744663151361137, -2.294107425015523e-15, 0.08446815489226923, -1.5707963267960527},
       {0.0317972503886621, 1.0032262971644348e-17, 1.1353623930610757, 1.049710189969717,
        -1.5004696229285143e-17},
       {0.35435534859237605, 0.17717767429618814, -1.1557595158695477e-16, 0.0847097927212362,
        0.045085593176306296, -3.4074948508257642e-15, 0.06694050411211169, -1.5707963267948966,
        0.027305337964075905, -2.110781025605261e-15, 0.08326243351234493, -1.5707963267948966}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << "K " << c.Case[6] << ", PHI " << c.Case[7]);
    const TEncoderSetup setup = SetupOf(c.Case);
    const TEvaluationSummary summary = Summarize(setup, Evaluate(setup));
    ExpectFigures(summary.Error, c.Error, 1e-12);
    ASSERT_EQ(summary.Correction.Problem, TEllipseProblem::None);
    const TEllipse &e = summary.Correction.Ellipse;
    const double coefficients[5] = {e.OffsetA, e.OffsetB, e.AmplitudeA, e.AmplitudeB, e.Phase};
    for (int i = 0; i < 5; ++i)
      EXPECT_NEAR(coefficients[i], c.Ellipse[i], 1e-10) << "coefficient " << i;
    ExpectFigures(summary.Correction.Error, c.Corrected, 1e-10);
  }
}

TEST(SignalModelTest, HarmonicsOfEveryOrderAgreeWithThePythonModel)
{
  // From scripts/golden_signal.py: gain, offset, phase of A and of B; K and
  // PHI of orders 2 ... 9; A's peak before the limit; the error's figures.
  const struct
  {
    double Case[6];
    double K[8], Phi[8];
    double PeakA;
    double Error[12];
  } cases[] = {
      {{0.95, 0.0, 0.0, 0.95, 0.0, 0.0},
       {0.02, 0.01},
       {0.0, Pi},
       0.9601961296332936,
       {0.06550675760175884, 0.032753378800879585, -5.1048358248872994e-14, 0.01587383863446032,
        0.01413927948332998, -0.785398163397452, 0.0001020000125046099, -7.428992108280712e-13,
        0.0142826153306375, -2.3561944901923466, 0.010000051610010042, 1.5707963268050735}},
      {{1.05, 0.02, 0.03, 0.97, -0.01, -0.02},
       {0.013, -0.021, 0.008, 0.017, -0.006, 0.011, 0.004, -0.009},
       {0.4, 2.5, -1.1, 0.9, 3.0, -2.2, 1.7, -0.3},
       1.0757155141804295,
       {0.2183478629864249, 0.14213976157572789, 0.00524239637212481, 0.04902467696040309,
        0.031339466153678996, -0.41074822039755426, 0.04952040354642802, -0.9585867749604547,
        0.00986610780155737, -2.2110559554385163, 0.029399491664167866, -1.5267119582982833}},
      // A clips.
      {{1.25, 0.05, 0.0, 0.9, 0.0, 0.1},
       {0.05, 0.0, 0.0, -0.03},
       {1.0, 0.0, 0.0, 0.0},
       1.2196628566262782,
       {0.41082233417202807, 0.2726075680686224, 0.045353229744851814, 0.1352198881211198,
        0.08407101963336612, 0.12410037711997435, 0.15012318704119473, -1.8520230401488502,
        0.04919565838817563, -0.8940545426005786, 0.005329566513990504, -2.542211560889042}},
  };
  TTrialEvaluator evaluator;
  for (const auto &c : cases) {
    const double(&g)[6] = c.Case;
    TEncoderSetup setup{0.040, 0.005, {g[0], g[3]}, {g[1], g[4]}, {g[2], g[5]}, {}};
    std::copy(c.K, c.K + 8, setup.Signal.Harmonic + 2);
    std::copy(c.Phi, c.Phi + 8, setup.Signal.HarmonicPhase + 2);
    SCOPED_TRACE(testing::Message() << "gain A " << g[0]);
    const TEvaluationSummary summary = Summarize(setup, Evaluate(setup));
    ExpectFigures(summary.Error, c.Error, 1e-12);
    EXPECT_NEAR(summary.Peak[0], c.PeakA, 1e-6);
    double peak_to_peak = 0.0, max_abs = 0.0;
    evaluator.InterpolationError(setup, peak_to_peak, max_abs);
    EXPECT_NEAR(peak_to_peak, c.Error[0], 1e-12);
  }
  // The published case: 1.877 degrees. To first order the waveform's
  // second harmonic gives harmonics 1 and 3 of 0.02 / sqrt 2 at -pi/4 and
  // -3 pi/4, its third harmonic 4.
  TEncoderSetup published{0.040, 0.005, {0.95, 0.95}, {0.0, 0.0}, {0.0, 0.0}, {}};
  published.Signal.Harmonic[2] = 0.02;
  published.Signal.Harmonic[3] = 0.01;
  published.Signal.HarmonicPhase[3] = Pi;
  const TEvaluationSummary summary = Summarize(published, Evaluate(published));
  EXPECT_NEAR(summary.Error.MaxAbs * 180.0 / Pi, 1.877, 5e-4);
  const double expected[][2] = {{0.02 / std::sqrt(2.0), -Pi / 4},
                                {0.0, 0.0},
                                {0.02 / std::sqrt(2.0), -3 * Pi / 4},
                                {0.01, Pi / 2}};
  for (int h = 0; h < HarmonicCount; ++h) {
    EXPECT_NEAR(summary.Estimate.Harmonics[h].Amplitude, expected[h][0], 1e-15) << h + 1;
    EXPECT_NEAR(summary.Estimate.Harmonics[h].Phase, expected[h][1], 1e-15) << h + 1;
  }
}

TEST(SignalModelTest, CorrectionIsExactWithoutDistortionAndLeavesTheFourthHarmonicWithIt)
{
  // gain, offset, phase of A and of B: no clipping anywhere.
  const double channels[][6] = {{0.8, 0.1, 0.2, 0.9, -0.05, 0.0},
                                {0.8, -0.15, -0.3, 0.7, 0.2, 0.25},
                                {0.5, 0.4, 0.7, 0.55, -0.4, -0.6}};
  for (const auto &c : channels) {
    const double plain[8] = {c[0], c[1], c[2], c[3], c[4], c[5], 0.0, 0.0};
    TEncoderSetup setup = SetupOf(plain);
    SCOPED_TRACE(testing::Message() << "gain A " << c[0]);
    TEvaluationSummary summary = Summarize(setup, Evaluate(setup));
    ASSERT_EQ(summary.Correction.Problem, TEllipseProblem::None);
    const TEllipse &e = summary.Correction.Ellipse;
    EXPECT_NEAR(e.OffsetA, c[1], 1e-12);
    EXPECT_NEAR(e.OffsetB, c[4], 1e-12);
    EXPECT_NEAR(e.AmplitudeA, c[0], 1e-12);
    EXPECT_NEAR(e.AmplitudeB, c[3], 1e-12);
    EXPECT_NEAR(e.Phase, c[2] - c[5], 1e-12);
    // The corrected angle is the grid angle plus B's phase, everywhere.
    EXPECT_LT(summary.Correction.Error.PeakToPeak, 1e-9);
    EXPECT_NEAR(summary.Correction.Error.Mean, c[5], 1e-9);

    // With a third harmonic K the calibration leaves K sin(4 theta + PHI)
    // about B's phase, to first order in K times the other distortions. A
    // phase difference shifts the two channels' harmonics apart and leaves
    // a second harmonic of about 3 K (pA - pB) / 2, so both share B's here.
    setup.Phase[0] = c[5];
    setup.Signal.Harmonic[3] = 0.01;
    setup.Signal.HarmonicPhase[3] = 0.7;
    summary = Summarize(setup, Evaluate(setup));
    const THarmonic &fourth = summary.Correction.Error.Harmonics[3];
    EXPECT_NEAR(fourth.Amplitude, 0.01, 0.01 * 0.02);
    EXPECT_NEAR(WrappedAngle(fourth.Phase - (0.7 - Pi / 2 + 4 * c[5])), 0.0, 0.02);
    for (int h = 0; h < 3; ++h)
      EXPECT_LT(summary.Correction.Error.Harmonics[h].Amplitude, 0.01 * 0.05) << h + 1;
  }
}

TEST(SignalModelTest, WithoutHarmonicNoiseAndAdcTheChannelsAreTheWindowsToTheLastBit)
{
  const double plain[8] = {1.3, 0.12, -0.4, 0.7, -0.3, 0.25, 0.0, 0.0};
  const TEncoderSetup setup = SetupOf(plain);
  TSignalChannel a(setup, 0, CounterStreamA), b(setup, 1, CounterStreamB);
  const TEncoderChannel window_a = setup.Channel(0), window_b = setup.Channel(1);
  for (double angle = -1.0; angle < 8.0; angle += 0.01) {
    ASSERT_EQ(a.Value(angle), window_a.Value(angle)) << angle;
    ASSERT_EQ(b.Value(angle), window_b.Value(angle)) << angle;
  }
  TEncoderInterpolator interpolator;
  interpolator.SetInterpolatorCount(setup.Count());
  bool error = false;
  const std::vector<TVector2> window =
      interpolator.Evaluate(setup.Pitch, window_a, window_b, &error);
  const TEvaluation evaluation = Evaluate(setup);
  ASSERT_EQ(evaluation.Points.size(), window.size());
  for (std::size_t i = 0; i < window.size(); ++i)
    ASSERT_TRUE(evaluation.Points[i].x == window[i].x && evaluation.Points[i].y == window[i].y)
        << i;
}

TEST(SignalModelTest, AdcReadsTheMiddleOfEachCodeAndNoiseAndAdcAddTheirEstimatedRms)
{
  // 4 bits: steps of 1/8, codes -8 ... 7.
  const double codes[][2] = {{0.0, 0.0625},    {-1.0, -0.9375}, {1.0, 0.9375},  {0.13, 0.1875},
                             {-0.01, -0.0625}, {0.125, 0.1875}, {0.999, 0.9375}};
  for (const auto &c : codes)
    EXPECT_EQ(AdcQuantized(c[0], 2.0 / 16, 8.0), c[1]) << c[0];

  // Statistical: the RMS of 4096 independent errors has a relative
  // standard deviation near 1 / sqrt(2 * 4096) = 1.1 %; 5 % is 4.5 of it.
  // The ADC's error is deterministic and only roughly uniform over a step:
  // 0.94 ... 1.05 of the estimate for gains 0.5 ... 1 and 8 ... 16 bits,
  // so 10 %.
  struct
  {
    double Gain, Noise;
    int Bits;
    std::uint64_t Seed;
  } const cases[] = {{1.0, 0.01, 0, 1},
                     {0.6, 0.003, 0, 2},
                     {0.8, 0.02, 0, 77},
                     {0.9, 0.0, 10, 1},
                     {0.5, 0.0, 12, 1}};
  for (const auto &c : cases) {
    TEncoderSetup setup;
    setup.Gain[0] = setup.Gain[1] = c.Gain;
    setup.Signal.Noise = c.Noise;
    setup.Signal.AdcBits = c.Bits;
    setup.Signal.Seed = c.Seed;
    const TEvaluationSummary summary = Summarize(setup, Evaluate(setup));
    const double expected =
        c.Bits ? std::pow(2.0, 1 - c.Bits) / std::sqrt(12.0) / c.Gain : c.Noise / c.Gain;
    EXPECT_NEAR(summary.Estimate.NoiseRms + summary.Estimate.QuantizationRms, expected,
                expected * 1e-12);
    EXPECT_NEAR(summary.Error.Rms, expected, (c.Bits ? 0.10 : 0.05) * expected)
        << c.Gain << " " << c.Bits;
    EXPECT_NEAR(summary.Error.Mean, 0.0, 4.0 * expected / std::sqrt(AngleCount));
  }
}

TEST(SignalModelTest, NoiseStreamsAreRepeatableIndependentAndReachTheCounter)
{
  // The same seed and stream give the same numbers, and Fill what Next
  // gives; another stream or seed gives others.
  TGaussianNoise next(9, 2), fill(9, 2), stream(9, 3), seed(10, 2);
  std::vector<double> filled(8);
  fill.Fill(filled.data(), 8, 0.5);
  int same_stream = 0, same_seed = 0;
  for (double value : filled) {
    EXPECT_EQ(value, 0.5 * next.Next());
    same_stream += value == 0.5 * stream.Next();
    same_seed += value == 0.5 * seed.Next();
  }
  EXPECT_EQ(same_stream + same_seed, 0);

  // 100 counts, 2 samples a count apart by 0.0126 rad: noise of 0.2 rad
  // swings the angle over several counts of 0.063 rad, each run alike.
  TEncoderSetup setup{0.040,      0.0004,     {1.0, 1.0},
                      {0.0, 0.0}, {0.0, 0.0}, SignalOf(0.0, 0.0, 0.2, 0, 5)};
  const TEvaluation first = Evaluate(setup), again = Evaluate(setup);
  ASSERT_EQ(first.Points.size(), again.Points.size());
  for (std::size_t i = 0; i < first.Points.size(); ++i)
    ASSERT_TRUE(first.Points[i].x == again.Points[i].x && first.Points[i].y == again.Points[i].y);
  EXPECT_TRUE(first.CountError);
  setup.Signal.Noise = 0.0;
  EXPECT_FALSE(Evaluate(setup).CountError);
}

TEST(SignalModelTest, StudyDrawsTheHarmonicAfterTheSixAndTheTrialsAgreeWithTheSummary)
{
  TStudySetup study;
  study.Tolerances.Of(SetupParameter("gain-a")) = 0.05;
  study.Tolerances.Of(SetupParameter("phase-b")) = 0.02;
  study.Trials = 10;
  TStudySetup with_harmonic = study;
  with_harmonic.Tolerances.Of(SetupParameter("harmonic3")) = 0.4;  // often beyond the range's 0.3
  int clamped = 0;
  for (long i = 0; i < 50; ++i) {
    const TTrialDraw plain = DrawTrial(study, i), harmonic = DrawTrial(with_harmonic, i);
    EXPECT_EQ(plain.Setup.Gain[0], harmonic.Setup.Gain[0]);
    EXPECT_EQ(plain.Setup.Phase[1], harmonic.Setup.Phase[1]);
    EXPECT_EQ(plain.Setup.Signal.Harmonic[3], 0.0);
    EXPECT_LE(std::fabs(harmonic.Setup.Signal.Harmonic[3]), HarmonicRange.Maximum);
    clamped += harmonic.Clamped - plain.Clamped;
  }
  EXPECT_GT(clamped, 0);

  // The trial's own loop gives the summary's figures for the same signals.
  TTrialEvaluator evaluator;
  const TEncoderSetup setup{0.040,       0.005,      {0.9, 1.0},
                            {0.0, 0.05}, {0.1, 0.0}, SignalOf(0.04, 0.3, 0.01, 12, 9)};
  double peak_to_peak = 0.0, max_abs = 0.0;
  evaluator.InterpolationError(setup, peak_to_peak, max_abs);
  const TEvaluationSummary summary = Summarize(setup, Evaluate(setup));
  EXPECT_NEAR(peak_to_peak, summary.Error.PeakToPeak, 1e-12);
  EXPECT_NEAR(max_abs, summary.Error.MaxAbs, 1e-12);
}

TEST(SignalModelTest, CaptureRadiusGivesBackTheHarmonicAndItsPhase)
{
  // A capture in volts of the signal chain's waveform over three periods,
  // with offset and gains, uneven steps and its own K and PHI. No phase
  // error: it would shift the channels' harmonics apart, and PHI by a few
  // times it.
  const double cases[][2] = {{0.02, 0.8}, {0.01, -2.5}, {0.04, 3.0}};
  for (const auto &c : cases) {
    const TEncoderSetup setup{0.040,       0.005,      {0.9, 0.8},
                              {0.05, 0.0}, {0.0, 0.0}, SignalOf(c[0], c[1], 0.0, 0, 1)};
    TSignalChannel a(setup, 0, 0), b(setup, 1, 1);
    TCapture capture;
    for (int i = 0; i < 3000; ++i) {
      const double theta = 3.0 * TwoPi * (i + 0.3 * std::sin(i)) / 3000;
      capture.A.push_back(2.5 * a.Value(theta));
      capture.B.push_back(2.5 * b.Value(theta));
      capture.Line.push_back(i + 1);
    }
    TCaptureAnalysis analysis;
    ASSERT_EQ(AnalyseCapture(capture, setup, 0.0, analysis).Kind, TCaptureProblem::None);
    EXPECT_NEAR(analysis.Harmonic3, c[0], 0.05 * c[0]) << c[1];
    EXPECT_NEAR(WrappedAngle(analysis.Harmonic3Phase - c[1]), 0.0, 0.02) << c[1];
  }
}

}  // namespace
