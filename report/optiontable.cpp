#include "optiontable.h"

#include "fixedtexts.h"

namespace {

// A range's end or default as --help shows it: at least one decimal, so
// a gain of 2 reads as the 2.0 of the window's spin box.
QString RangeNumber(double Value, bool Signed = false)
{
  QString text = QString::number(Value, 'g', 15);
  if (!text.contains('.') && !text.contains('e'))
    text += ".0";
  return Signed && Value > 0.0 ? "+" + text : text;
}

QString RangeText(const TParameterRange &Range)
{
  return QString("%1 to %2 (default %3)")
      .arg(RangeNumber(Range.Minimum), RangeNumber(Range.Maximum, Range.Minimum < 0.0),
           RangeNumber(Range.Default));
}

const unsigned Simulated = EvaluationMode | SweepMode | StudyMode;
const unsigned Plotted = EvaluationMode | SweepMode | CaptureMode;

std::vector<TOptionDefinition> MakeDefinitions()
{
  const TEncoderSetup defaults;
  std::vector<TOptionDefinition> options = {
      {"pitch", "value", QString("Scale pitch in mm (default %1).").arg(defaults.Pitch, 0, 'f', 3),
       false, Simulated | CaptureMode},
      {"resolution", "value",
       QString("Interpolated resolution in mm (default %1).").arg(defaults.Resolution, 0, 'f', 4),
       false, Simulated | CaptureMode},
  };
  for (const char channel : {'a', 'b'}) {
    const QString which = ChannelName(channel - 'a');
    options.push_back({QString("gain-%1").arg(channel), "value",
                       QString("Gain of channel %1, %2.").arg(which, RangeText(GainRange)), false,
                       Simulated});
  }
  for (const char channel : {'a', 'b'})
    options.push_back({QString("offset-%1").arg(channel), "value",
                       QString("Offset of channel %1, %2.")
                           .arg(QChar(channel).toUpper())
                           .arg(RangeText(OffsetRange)),
                       false, Simulated});
  for (const char channel : {'a', 'b'})
    options.push_back({QString("phase-%1").arg(channel), "value",
                       QString("Phase of channel %1 in radians, %2.")
                           .arg(QChar(channel).toUpper())
                           .arg(RangeText(PhaseRange)),
                       false, Simulated});
  const std::vector<TOptionDefinition> signal = {
      {"harmonic3", "K",
       QString("Third harmonic of the grating's waveform sin x + K sin(3x + PHI), relative to "
               "the fundamental, %1.")
           .arg(RangeText(Harmonic3Range)),
       false, Simulated},
      {"harmonic3-phase", "PHI",
       QString("Phase PHI of the third harmonic in radians, %1.")
           .arg(RangeText(Harmonic3PhaseRange)),
       false, Simulated},
      {"noise", "SIGMA",
       QString("Gaussian noise added to every value of each channel before the limit, its "
               "standard deviation in the channels' units, %1; drawn from --seed.")
           .arg(RangeText(NoiseRange)),
       false, Simulated},
      {"adc-bits", "N",
       QString("Quantize each limited value to N bits over -1 ... +1, N from %1 to %2 "
               "(default: no ADC).")
           .arg(MinimumAdcBits)
           .arg(MaximumAdcBits),
       false, Simulated},
  };
  options.insert(options.end(), signal.begin(), signal.end());
  const std::vector<TOptionDefinition> rest = {
      {"format", "format",
       "Output: table (default), csv, summary or json; --capture, --monte-carlo and --merge "
       "write summary (default), json or csv.",
       false, AllModes & ~SweepMode},
      {"output", "file", "Write the output to this file instead of standard output.", false,
       AllModes},
      {"plot", "file", "Write the error graph to this .png, .svg or .pdf file.", false, AllModes},
      {"scope", "file", "Write the oscilloscope view to this .png, .svg or .pdf file.", false,
       Plotted},
      {"xy", "", "Draw the oscilloscope view in XY mode (B against A); needs --scope.", false,
       EvaluationMode | SweepMode},
      {"size", "WxH",
       QString("Plot size in pixels, each side %1 to %2 (default 700x300).")
           .arg(MinimumPlotSide)
           .arg(MaximumPlotSide),
       false, AllModes},
      {"sweep", "NAME=FROM:TO:STEPS",
       QString("Step one channel parameter (gain-a, gain-b, offset-a, offset-b, phase-a, "
               "phase-b) through STEPS (2 to %1) evenly spaced values from FROM to TO inclusive "
               "and write one CSV row per value.")
           .arg(MaximumSweepSteps),
       false, SweepMode},
      {"capture", "file",
       "Fit the channel pair of this text capture (- for standard input) and report its "
       "ellipse, model parameters and measured interpolation error: --format summary "
       "(default), json or csv (one row per sample).",
       false, CaptureMode},
      {"columns", "A,B",
       "The capture's columns of channels A and B, 1-based (default 1,2 for two columns, 2,3 "
       "for three or more).",
       false, CaptureMode},
      {"skip-bad-rows", "",
       "Skip and count capture rows after the header that are not numbers, instead of "
       "refusing the capture.",
       false, CaptureMode},
      {"decimal-comma", "",
       "The capture's numbers use a decimal comma, and no comma separates its columns (between "
       "semicolons, tabs or blanks a decimal comma is read anyway).",
       false, CaptureMode},
      {"zero", "V|VA,VB",
       "The interpolator's reference level, subtracted from both channels (or VA from A, VB "
       "from B) before anything else: 2.5 for signals on a 2.5 V reference, 2048 for 12-bit "
       "unsigned counts (default 0).",
       false, CaptureMode},
      {"amplitude", "value",
       "Capture units (e.g. V) that make the simulation's full scale 1 (default: the fitted "
       "signals' largest |offset| + amplitude).",
       false, CaptureMode},
      {"monte-carlo", "N",
       QString("Tolerance study: N trials (1 to %1), each drawing the six channel parameters "
               "around the setup's values; writes summary (default), json or csv.")
           .arg(MaximumTrials),
       false, StudyMode},
      {"tolerance", "NAME=VALUE",
       "Spread of gain, offset or phase (both channels), of one channel's (gain-a, "
       "offset-b, ...) or of harmonic3, in the parameter's unit (phase in radians); "
       "repeatable (default 0).",
       true, StudyMode},
      {"distribution", "name",
       "normal (the tolerance is the standard deviation; default) or uniform (the half-width).",
       false, StudyMode},
      {"seed", "S", "Seed of the study's trials and of --noise, 0 to 2^53 - 1 (default 1).", false,
       Simulated},
      {"threads", "K",
       QString("Threads for the study (default: all cores; at most %1).").arg(MaximumThreads),
       false, StudyMode},
      {"limit", "value",
       "Interpolation error a unit may have, in % of the period, deg or mm, e.g. 0.5deg "
       "(default 1%); --limit-on says which figure it judges.",
       false, StudyMode},
      {"limit-on", "figure",
       "half-pp (half the peak-to-peak: the +- error within one signal period, bias left "
       "out; default) or max-abs (the largest magnitude, bias included).",
       false, StudyMode},
      {"shard", "K/N", "Run only the trials whose index is K modulo N; the JSON keeps every trial.",
       false, StudyMode},
      {"merge", "", "Combine the JSON files of all shards, given as arguments, into one result.",
       false, MergeMode},
      {"quiet", "", "No progress bar on a terminal.", false, StudyMode | MergeMode},
  };
  options.insert(options.end(), rest.begin(), rest.end());
  return options;
}

}  // namespace

const std::vector<TOptionDefinition> &OptionDefinitions()
{
  static const std::vector<TOptionDefinition> options = MakeDefinitions();
  return options;
}

const std::vector<TSetupOption> &SetupOptions()
{
  static const std::vector<TSetupOption> options = {
      {"pitch", nullptr, [](TEncoderSetup &s) -> double & { return s.Pitch; }},
      {"resolution", nullptr, [](TEncoderSetup &s) -> double & { return s.Resolution; }},
      {"gain-a", &GainRange, [](TEncoderSetup &s) -> double & { return s.Gain[0]; }},
      {"gain-b", &GainRange, [](TEncoderSetup &s) -> double & { return s.Gain[1]; }},
      {"offset-a", &OffsetRange, [](TEncoderSetup &s) -> double & { return s.Offset[0]; }},
      {"offset-b", &OffsetRange, [](TEncoderSetup &s) -> double & { return s.Offset[1]; }},
      {"phase-a", &PhaseRange, [](TEncoderSetup &s) -> double & { return s.Phase[0]; }},
      {"phase-b", &PhaseRange, [](TEncoderSetup &s) -> double & { return s.Phase[1]; }},
      {"harmonic3", &Harmonic3Range,
       [](TEncoderSetup &s) -> double & { return s.Signal.Harmonic3; }},
      {"harmonic3-phase", &Harmonic3PhaseRange,
       [](TEncoderSetup &s) -> double & { return s.Signal.Harmonic3Phase; }},
      {"noise", &NoiseRange, [](TEncoderSetup &s) -> double & { return s.Signal.Noise; }},
  };
  return options;
}
