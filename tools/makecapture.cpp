// Writes a synthetic two-channel capture from known signal parameters, as
// a text file an oscilloscope or a spreadsheet could have written:
//   A = offset-a + amplitude-a (sin(t + phase) + h3 sin 3(t + phase)) + noise
//   B = offset-b + amplitude-b (cos t - h3 cos 3t) + noise
// (B is A's waveform a quarter period ahead) with t running over --periods signal periods at a
// slowly varying speed.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "angles.h"

namespace {

struct TParameters
{
  long Samples = 10000;
  double Periods = 3.0;
  double OffsetA = 0.0, OffsetB = 0.0;
  double AmplitudeA = 1.0, AmplitudeB = 1.0;
  double Phase = 0.0;
  double Noise = 0.0;
  double Harmonic3 = 0.0;
  double Bias = 0.0;
  unsigned Seed = 1;
  bool Scope = false;
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
      {"bias", "Added to both channels, as an ADC's mid-scale (default 0).", &p.Bias},
  };
  for (const TNumberOption &option : numbers)
    parser.addOption(QCommandLineOption(option.Name, option.Description, "value"));
  parser.addOptions({{"samples", "Number of samples (default 10000).", "count"},
                     {"seed", "Seed of the noise (default 1).", "seed"},
                     {"scope",
                      "Write as an oscilloscope exports: header lines, a time column, "
                      "CRLF line ends."}});
  parser.process(application);
  for (const TNumberOption &option : numbers)
    if (parser.isSet(option.Name) && !Parse(parser.value(option.Name), *option.Value)) {
      std::fprintf(stderr, "makecapture: --%s needs a number\n", option.Name);
      return 2;
    }
  if ((parser.isSet("samples") && !Parse(parser.value("samples"), p.Samples)) ||
      (parser.isSet("seed") && !Parse(parser.value("seed"), p.Seed)) || p.Samples < 1) {
    std::fprintf(stderr, "makecapture: --samples and --seed need whole numbers\n");
    return 2;
  }
  p.Scope = parser.isSet("scope");

  std::mt19937 random(p.Seed);
  std::normal_distribution<double> gauss(0.0, 1.0);
  const char *const end = p.Scope ? "\r\n" : "\n";
  std::string text;
  if (p.Scope)
    text = std::string("Model,VANTREL-SIM\r\nFirmware,1.0\r\nTime,CH1,CH2\r\ns,V,V\r\n");
  for (long i = 0; i < p.Samples; ++i) {
    const double u = static_cast<double>(i) / p.Samples;
    // The scale speeds up and slows down by 30 %.
    const double t = TwoPi * p.Periods * (u + 0.3 / TwoPi * std::sin(TwoPi * u));
    const double a = p.OffsetA + p.AmplitudeA * (std::sin(t + p.Phase) +
                                                 p.Harmonic3 * std::sin(3.0 * (t + p.Phase)));
    const double b = p.OffsetB + p.AmplitudeB * (std::cos(t) - p.Harmonic3 * std::cos(3.0 * t));
    const double na = p.Noise > 0.0 ? p.Noise * gauss(random) : 0.0;
    const double nb = p.Noise > 0.0 ? p.Noise * gauss(random) : 0.0;
    if (p.Scope) {
      Append(text, i * 1e-6, 8);
      text += ',';
    }
    Append(text, p.Bias + a + na, 12);
    text += ',';
    Append(text, p.Bias + b + nb, 12);
    text += end;
    if (text.size() > (1 << 16)) {
      std::fwrite(text.data(), 1, text.size(), stdout);
      text.clear();
    }
  }
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}
