// Writes a synthetic two-channel capture from known signal parameters, as
// a text file an oscilloscope, a data logger or a spreadsheet could have
// written:
//   A = offset-a + amplitude-a (sin(t + phase) + h3 sin 3(t + phase)) + noise
//   B = offset-b + amplitude-b (cos t - h3 cos 3t) + noise
// (B is A's waveform a quarter period ahead) with t running over --periods
// signal periods at a slowly varying speed (or back, or out and back);
// then the instrument's part: a reference level, ADC counts, a rail,
// glitches, overrange markers, and the file's shape.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "angles.h"

namespace {

// How the file is laid out, as different instruments and programs write
// their exports.
enum class TShape
{
  Plain,        // a,b per line
  Scope,        // four header lines, a time column, CRLF
  Numbered,     // header "x-axis,1,2" then "second,Volt,Volt", a time column
  Metadata,     // a dozen metadata lines, some of them numeric
  European,     // semicolons and decimal commas, a text header
  Quoted,       // every field in double quotes, a text header
  Columns,      // a logger's Time, SIN, Motor current, COS
  Timestamp,    // ISO 8601 date and time of day in the first column
  Units,        // each value with its unit, 0.123V
  QuotedComma,  // comma-separated, decimal commas in double quotes
  OldMac,       // lines ended by a carriage return alone
};

const char *const ShapeNames[] = {"plain",    "scope",        "numbered", "metadata",
                                  "european", "quoted",       "columns",  "timestamp",
                                  "units",    "quoted-comma", "old-mac"};

// Which way the scale runs: on, back (t falling), or out over the
// periods and back over them, turning at once in the middle.
enum class TMotion
{
  Forward,
  Backward,
  Reversing,
  Steady,  // forward at one speed
};

const char *const MotionNames[] = {"forward", "backward", "reversing", "steady"};

// The waveform's orders beyond the fundamental that --harmonic sets.
const int MaximumOrder = 9;

struct TParameters
{
  long Samples = 10000;
  double Periods = 3.0;
  double OffsetA = 0.0, OffsetB = 0.0;
  double AmplitudeA = 1.0, AmplitudeB = 1.0;
  double Phase = 0.0;
  double Noise = 0.0;
  double Harmonic3 = 0.0;
  // K and phase of sin(h x + phase) for each order h.
  double Harmonic[MaximumOrder + 1] = {};
  double HarmonicPhase[MaximumOrder + 1] = {};
  double Bias = 0.0;
  double RailA = 0.0;  // 0: none
  int AdcBits = 0;     // 0: volts, not counts
  double AdcRange = 1.0;
  long Glitches = 0;
  long Overrange = 0;
  long Missing = 0;
  bool Cut = false;
  unsigned Seed = 1;
  TShape Shape = TShape::Plain;
  TMotion Motion = TMotion::Forward;
};

void Append(std::string &Text, double Value, int Digits)
{
  char buffer[32];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, Value, std::chars_format::general, Digits);
  Text.append(buffer, result.ptr);
}

template <typename Number>
bool Parse(const QString &Text, Number &Value)
{
  const QByteArray bytes = Text.toUtf8();
  const auto result = std::from_chars(bytes.constData(), bytes.constData() + bytes.size(), Value);
  return result.ec == std::errc() && result.ptr == bytes.constData() + bytes.size();
}

std::string Header(TShape Shape)
{
  switch (Shape) {
    case TShape::Plain:
      return "";
    case TShape::Scope:
      return "Model,VANTREL-SIM\r\nFirmware,1.0\r\nTime,CH1,CH2\r\ns,V,V\r\n";
    case TShape::Numbered:
      return "x-axis,1,2\r\nsecond,Volt,Volt\r\n";
    case TShape::Metadata:
      return "Record Length,Points\nSample Interval,1e-06\nTrigger Point,0\nSource,CH1,CH2\n"
             "Vertical Units,V,V\nVertical Scale,0.2,0.2\nVertical Offset,0,0\n"
             "Horizontal Units,s\nHorizontal Scale,0.0005\nPt Fmt,Y,Y\nYzero,0,0\n"
             "Probe Atten,10,10\nTIME,CH1,CH2\n";
    case TShape::European:
      return "Zeit;Kanal A;Kanal B\n";
    case TShape::Quoted:
      return "\"Time\",\"A\",\"B\"\n";
    case TShape::Columns:
      return "Time,SIN,Motor current,COS\n";
    case TShape::Timestamp:
      return "Timestamp,A,B\n";
    case TShape::Units:
      return "Time,CH1,CH2\n";
    case TShape::QuotedComma:
      return "\"Zeit\",\"Spur A\",\"Spur B\"\n";
    case TShape::OldMac:
      return "Time\tA\tB\r";
  }
  return "";
}

}  // namespace

// One field as the shape writes it.
void AppendField(std::string &Text, TShape Shape, double Value, int Digits)
{
  const std::size_t start = Text.size();
  const bool quoted = Shape == TShape::Quoted || Shape == TShape::QuotedComma;
  if (quoted)
    Text += '"';
  Append(Text, Value, Digits);
  if (Shape == TShape::European || Shape == TShape::QuotedComma)
    std::replace(Text.begin() + static_cast<long>(start), Text.end(), '.', ',');
  if (quoted)
    Text += '"';
}

// The first column of sample I, taken at I microseconds.
void AppendTime(std::string &Text, TShape Shape, long I)
{
  if (Shape == TShape::Timestamp) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "2026-12-07T10:00:%02ld.%06ld", I / 1000000 % 60,
                  I % 1000000);
    Text += buffer;
  } else {
    AppendField(Text, Shape, I * 1e-6, 8);
  }

}  // namespace

int main(int argc, char *argv[])
{
  QCoreApplication application(argc, argv);
  QCommandLineParser parser;
  parser.setApplicationDescription("Writes a synthetic sine/cosine capture to standard output.");
  parser.addHelpOption();
  TParameters p;
  struct TNumberOption
  {
    const char *Name;
    const char *Description;
    double *Value;
  };
  const TNumberOption numbers[] = {
      {"periods", "Signal periods covered (default 3).", &p.Periods},
      {"offset-a", "Offset of A (default 0).", &p.OffsetA},
      {"offset-b", "Offset of B (default 0).", &p.OffsetB},
      {"amplitude-a", "Amplitude of A (default 1).", &p.AmplitudeA},
      {"amplitude-b", "Amplitude of B (default 1).", &p.AmplitudeB},
      {"phase", "Phase error of A in radians (default 0).", &p.Phase},
      {"noise", "Standard deviation of Gaussian noise on each channel (default 0).", &p.Noise},
      {"harmonic3", "Third harmonic, relative to the amplitude (default 0).", &p.Harmonic3},
      {"bias", "Added to both channels, as a reference level (default 0).", &p.Bias},
      {"rail-a", "A sits at +-this value when it goes beyond, as at an instrument's rail.",
       &p.RailA},
      {"adc-range", "The voltage that --adc-bits maps to half the scale (default 1).", &p.AdcRange},
  };
  for (const TNumberOption &option : numbers)
    parser.addOption(QCommandLineOption(option.Name, option.Description, "value"));
  parser.addOptions({
      {"samples", "Number of samples (default 10000).", "count"},
      {"seed", "Seed of the noise (default 1).", "seed"},
      {"adc-bits",
       "Write unsigned ADC counts of this many bits centred on mid-scale, ends included.", "bits"},
      {"glitches", "Samples whose A jumps by three amplitudes, spread over the capture.", "count"},
      {"overrange", "Samples whose A the instrument marks as overrange (9.9E37).", "count"},
      {"missing", "Samples whose A the instrument writes as ---, the first in the third row.",
       "count"},
      {"cut", "Cut the last line short, without its line end."},
      {"shape", "File layout: plain (default), scope, numbered, metadata, european or quoted.",
       "name"},
      {"scope", "The same as --shape scope."},
      {"motion",
       "Which way the scale runs: forward (default), backward, reversing or steady (forward at "
       "one speed).",
       "name"},
      {"harmonic",
       "A harmonic K sin(H x + PHI) of both channels' waveform, B's a quarter period on; "
       "repeatable.",
       "H,K[,PHI]"},
  });
  parser.process(application);
  for (const TNumberOption &option : numbers)
    if (parser.isSet(option.Name) && !Parse(parser.value(option.Name), *option.Value)) {
      std::fprintf(stderr, "makecapture: --%s needs a number\n", option.Name);
      return 2;
    }
  if ((parser.isSet("samples") && !Parse(parser.value("samples"), p.Samples)) ||
      (parser.isSet("seed") && !Parse(parser.value("seed"), p.Seed)) ||
      (parser.isSet("adc-bits") && !Parse(parser.value("adc-bits"), p.AdcBits)) ||
      (parser.isSet("glitches") && !Parse(parser.value("glitches"), p.Glitches)) ||
      (parser.isSet("overrange") && !Parse(parser.value("overrange"), p.Overrange)) ||
      (parser.isSet("missing") && !Parse(parser.value("missing"), p.Missing)) || p.Samples < 1 ||
      p.AdcBits < 0 || p.AdcBits > 24 || p.Glitches < 0 || p.Overrange < 0 || p.Missing < 0) {
    std::fprintf(stderr,
                 "makecapture: --samples, --seed, --adc-bits (0 to 24), --glitches, "
                 "--overrange and --missing need whole numbers\n");
    return 2;
  }
  p.Cut = parser.isSet("cut");
  if (parser.isSet("scope"))
    p.Shape = TShape::Scope;
  if (parser.isSet("shape")) {
    const QStringList names(std::begin(ShapeNames), std::end(ShapeNames));
    const int shape = names.indexOf(parser.value("shape"));
    if (shape < 0) {
      std::fprintf(stderr, "makecapture: --shape must be one of %s\n",
                   qPrintable(names.join(", ")));
      return 2;
    }
    p.Shape = static_cast<TShape>(shape);
  }
  if (parser.isSet("motion")) {
    const QStringList names(std::begin(MotionNames), std::end(MotionNames));
    const int motion = names.indexOf(parser.value("motion"));
    if (motion < 0) {
      std::fprintf(stderr, "makecapture: --motion must be one of %s\n",
                   qPrintable(names.join(", ")));
      return 2;
    }
    p.Motion = static_cast<TMotion>(motion);
  }
  for (const QString &harmonic : parser.values("harmonic")) {
    const QStringList parts = harmonic.split(',');
    int order = 0;
    double k = 0.0, phase = 0.0;
    if (parts.size() < 2 || parts.size() > 3 || !Parse(parts[0], order) || order < 2 ||
        order > MaximumOrder || !Parse(parts[1], k) ||
        (parts.size() == 3 && !Parse(parts[2], phase))) {
      std::fprintf(stderr, "makecapture: --harmonic needs H,K[,PHI] with H from 2 to %d\n",
                   MaximumOrder);
      return 2;
    }
    p.Harmonic[order] = k;
    p.HarmonicPhase[order] = phase;
  }

  std::mt19937 random(p.Seed);
  std::normal_distribution<double> gauss(0.0, 1.0);
  const bool crlf = p.Shape == TShape::Scope || p.Shape == TShape::Numbered;
  const char *const line_end = crlf ? "\r\n" : p.Shape == TShape::OldMac ? "\r" : "\n";
  const bool timed = p.Shape != TShape::Plain;
  const char delimiter = p.Shape == TShape::European ? ';' : p.Shape == TShape::OldMac ? '\t' : ',';
  const double half_scale = std::ldexp(1.0, p.AdcBits - 1);
  const auto every = [&](long Count) { return Count > 0 ? p.Samples / Count : 0; };
  const long glitch_every = every(p.Glitches), overrange_every = every(p.Overrange);
  const long missing_every = every(p.Missing);
  std::string text = Header(p.Shape);
  for (long i = 0; i < p.Samples; ++i) {
    double u = static_cast<double>(i) / p.Samples;
    // Reversing runs the whole profile out in the first half and back in
    // the second, at twice the speed.
    if (p.Motion == TMotion::Reversing)
      u = u < 0.5 ? 2.0 * u : 2.0 - 2.0 * u;
    // The scale speeds up and slows down by 30 %, unless steady.
    double t = TwoPi * p.Periods *
               (u + (p.Motion == TMotion::Steady ? 0.0 : 0.3 / TwoPi * std::sin(TwoPi * u)));
    if (p.Motion == TMotion::Backward)
      t = -t;
    const double a0 = p.OffsetA + p.AmplitudeA * (std::sin(t + p.Phase) +
                                                  p.Harmonic3 * std::sin(3.0 * (t + p.Phase)));
    double a = a0;
    double b = p.OffsetB + p.AmplitudeB * (std::cos(t) - p.Harmonic3 * std::cos(3.0 * t));
    for (int h = 2; h <= MaximumOrder; ++h)
      if (p.Harmonic[h] != 0.0) {
        a += p.AmplitudeA * p.Harmonic[h] * std::sin(h * (t + p.Phase) + p.HarmonicPhase[h]);
        b += p.AmplitudeB * p.Harmonic[h] * std::sin(h * (t + Pi / 2) + p.HarmonicPhase[h]);
      }
    const double na = p.Noise > 0.0 ? p.Noise * gauss(random) : 0.0;
    const double nb = p.Noise > 0.0 ? p.Noise * gauss(random) : 0.0;
    // Glitches and overrange samples fall half a spacing in, so none is
    // the first or the last.
    if (glitch_every > 0 && i % glitch_every == glitch_every / 2)
      a += 3.0 * p.AmplitudeA;
    double values[2] = {p.Bias + a + na, p.Bias + b + nb};
    if (p.RailA > 0.0)
      values[0] = std::clamp(values[0], -p.RailA, p.RailA);
    int digits = 12;
    if (p.AdcBits > 0) {
      for (double &value : values)
        value = std::clamp(std::round(half_scale + value / p.AdcRange * half_scale), 0.0,
                           2.0 * half_scale - 1.0);
      digits = 9;
    }
    if (overrange_every > 0 && i % overrange_every == overrange_every / 2)
      values[0] = 9.9e37;
    if (timed) {
      AppendTime(text, p.Shape, i);
      text += delimiter;
    }
    if (missing_every > 0 && i % missing_every == 2)
      text += "---";
    else
      AppendField(text, p.Shape, values[0], digits);
    if (p.Shape == TShape::Units)
      text += 'V';
    text += delimiter;
    // A motor's current, slowly rising: a column no channel is in.
    if (p.Shape == TShape::Columns) {
      AppendField(text, p.Shape, 0.5 + 0.2 * i / p.Samples, 6);
      text += delimiter;
    }
    AppendField(text, p.Shape, values[1], digits);
    if (p.Shape == TShape::Units)
      text += 'V';
    text += line_end;
    if (text.size() > (1 << 16)) {
      std::fwrite(text.data(), 1, text.size(), stdout);
      text.clear();
    }
  }
  // A capture stopped while its last line was written.
  if (p.Cut && !text.empty())
    text.resize(text.size() - std::strlen(line_end) - 4);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}
