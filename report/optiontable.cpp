#include "optiontable.h"

#include "captureoptions.h"
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
const unsigned Plotted = EvaluationMode | SweepMode | FittedModes;

// "a, b or c"
QString OrList(const QStringList &Names)
{
  if (Names.size() < 2)
    return Names.join("");
  return Names.mid(0, Names.size() - 1).join(", ") + " or " + Names.last();
}

// The quantities --tolerance spreads in both channels at once: "gain", ...
QStringList TolerancedQuantities()
{
  QStringList quantities;
  for (const TSetupParameter *parameter : ChannelParameters()) {
    const QString quantity = QString::fromStdString(parameter->Quantity());
    if (parameter->Toleranced && !quantities.contains(quantity))
      quantities << quantity;
  }
  return quantities;
}

// The toleranced parameters of the channels or of the rest.
QStringList TolerancedNames(bool Channels)
{
  QStringList names;
  for (const TSetupParameter &parameter : SetupParameters())
    if (parameter.Toleranced && (parameter.Part == TParameterPart::Channel) == Channels)
      names << parameter.Name;
  return names;
}

QString ToleranceHelp()
{
  return QString(
             "Spread of %1 (both channels), of one channel's (%2) or of %3, in the parameter's "
             "unit (phase in radians); repeatable (default 0).")
      .arg(OrList(TolerancedQuantities()), TolerancedNames(true).join(", "),
           OrList(TolerancedNames(false)));
}

// What --help says of a setup parameter.
QString SetupHelp(const TSetupParameter &Parameter)
{
  const TParameterRange &range = *Parameter.Range;
  if (Parameter.Part == TParameterPart::Scale)
    return QString(Parameter.Help).arg(range.Default, 0, 'f', range.Decimals);
  return QString(Parameter.Help).arg(RangeText(range));
}

QStringList LimitSetNames()
{
  QStringList names;
  for (const TLimitSet &set : BuiltInLimitSets())
    names << QString::fromStdString(set.Name);
  return names;
}

std::vector<TOptionDefinition> MakeDefinitions()
{
  std::vector<TOptionDefinition> options;
  for (const TSetupParameter &parameter : SetupParameters())
    if (parameter.Part != TParameterPart::Harmonic)
      options.push_back(
          {parameter.Name, parameter.ValueName, SetupHelp(parameter), false,
           parameter.Part == TParameterPart::Scale ? Simulated | FittedModes : Simulated});
  options.push_back(
      {"harmonic", "H,K[,PHI]",
       QString("Harmonic H (2 to %1) of the grating's waveform, which is sin x plus K sin(H x + "
               "PHI) for each: K %2, PHI in radians %3; repeatable, once per order. "
               "--harmonic 3,K,PHI is --harmonic3 K --harmonic3-phase PHI.")
           .arg(MaximumHarmonic)
           .arg(RangeText(HarmonicRange), RangeText(HarmonicPhaseRange)),
       true, Simulated});
  options.push_back({"adc-bits", "N",
                     QString("Quantize each limited value to N bits over -1 ... +1, N from %1 "
                             "to %2 (default: no ADC).")
                         .arg(MinimumAdcBits)
                         .arg(MaximumAdcBits),
                     false, Simulated});
  const std::vector<TOptionDefinition> before_capture = {
      {"format", "format",
       "Output: table (default), csv, summary or json; --capture, --acquire, --monte-carlo and "
       "--merge write summary (default), json or csv.",
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
      {"protocol", "file",
       "Write a PDF protocol of the run to this .pdf file: the source, the fitted figures, "
       "the limits' checks, the graphs and the correction.",
       false, EvaluationMode | FittedModes},
      {"sweep", "NAME=FROM:TO:STEPS",
       QString("Step one parameter (%1) through STEPS (2 to %2) evenly spaced values from FROM "
               "to TO inclusive and write one CSV row per value.")
           .arg(SweptNames().join(", "))
           .arg(MaximumSweepSteps),
       false, SweepMode},
      {"capture", "file",
       "Fit the channel pair of this text capture (- for standard input) and report its "
       "ellipse, model parameters and measured interpolation error: --format summary "
       "(default), json or csv (one row per sample).",
       false, CaptureMode},
      {"acquire", "source",
       "Acquire frames from an oscilloscope (scpi://HOST[:PORT][?dialect=wav|curve&"
       "channels=1,2&timeout=5]), a sound card (alsa:DEVICE[?rate=48000&frame=4800&timeout=5]) "
       "or a capture file replayed (file:PATH[?frame=N&rate=HZ]) and fit them as --capture "
       "fits a file; Ctrl-C stops after the frame in hand.",
       false, AcquireMode},
      {"frames", "N",
       QString("Frames to acquire, 1 to %1 (default 1); more than one also reports each "
               "fitted figure's mean and standard deviation over them.")
           .arg(MaximumFrames),
       false, AcquireMode},
      {"save", "file",
       "Write the last frame's samples to this CSV file, which --capture reads back to the "
       "same figures.",
       false, AcquireMode},
  };
  options.insert(options.end(), before_capture.begin(), before_capture.end());
  // How the capture is read, as the window reads it too; an instrument's
  // frames need only the reference level.
  for (const TCaptureOptionText &option : CaptureOptionTexts)
    options.push_back({option.Name, option.ValueName, option.Help, false,
                       QString(option.Name) == "zero" ? FittedModes : CaptureMode});
  const std::vector<TOptionDefinition> rest = {
      {"amplitude", "value",
       "Capture units (e.g. V) that make the simulation's full scale 1 (default: the fitted "
       "signals' largest |offset| + amplitude).",
       false, FittedModes},
      {"monte-carlo", "N",
       QString("Tolerance study: N trials (1 to %1), each drawing the six channel parameters "
               "around the setup's values; writes summary (default), json or csv.")
           .arg(MaximumTrials),
       false, StudyMode},
      {"tolerance", "NAME=VALUE", ToleranceHelp(), true, StudyMode},
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
      {"table-size", "N",
       QString("Entries of the correction's look-up table after the ellipse, a power of two "
               "from %1 to %2 (default %3), read with linear interpolation.")
           .arg(MinimumTableSize)
           .arg(MaximumTableSize)
           .arg(DefaultTableSize),
       false, EvaluationMode | FittedModes},
      {"table-bits", "B",
       QString("Quantise the table's entries to B-bit signed codes, B from %1 to %2 (default: "
               "not quantised); codes beyond the range are clamped and counted.")
           .arg(MinimumTableBits)
           .arg(MaximumTableBits),
       false, EvaluationMode | FittedModes},
      {"table-step", "RAD",
       "The step of one code in radians (default: the largest entry over 2^(B-1) - 1); needs "
       "--table-bits.",
       false, EvaluationMode | FittedModes},
      {"table-out", "file",
       "Write the table as CSV: index, angle_rad, correction_rad and, quantised, code.", false,
       EvaluationMode | FittedModes},
      {"limits", "set",
       QString("Judge the signals against a built-in set of limits (%1) or a JSON file of them: "
               "PASS, FAIL or UNDECIDED per check; --limits list shows the sets.")
           .arg(LimitSetNames().join(", ")),
       false, EvaluationMode | FittedModes | StudyMode},
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

QStringList SweptNames()
{
  QStringList names;
  for (const TSetupParameter &parameter : SetupParameters())
    if (parameter.Sweeps)
      names << parameter.Name;
  return names;
}

QStringList ToleranceNames()
{
  return TolerancedQuantities() + TolerancedNames(true) + TolerancedNames(false);
}
