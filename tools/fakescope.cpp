// Serves a simulated oscilloscope on a local TCP port: the model's two
// channels of an encoder moving at constant speed, over either family of
// SCPI commands, with faults on demand.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

#include "fakescope.h"
#include "optionnumber.h"
#include "optiontable.h"
#include "optionvalues.h"

namespace {

// --NAME's value into Value if given, within Minimum ... Maximum.
template <typename Number>
bool ReadOption(const QCommandLineParser &Parser, const char *Name, Number &Value, double Minimum,
                double Maximum)
{
  if (!Parser.isSet(Name))
    return true;
  if (ParseOptionNumber(Parser.value(Name), Value) && Value >= Minimum && Value <= Maximum)
    return true;
  std::fprintf(stderr, "vantrel_fakescope: --%s needs a number from %g to %g, not '%s'\n", Name,
               Minimum, Maximum, qPrintable(Parser.value(Name)));
  return false;
}

}  // namespace

int main(int argc, char *argv[])
{
  QCoreApplication application(argc, argv);
  QCommandLineParser parser;
  parser.setApplicationDescription("A simulated oscilloscope for scpi://127.0.0.1:PORT sources.");
  parser.addHelpOption();
  parser.addOptions({
      {"port", "TCP port (default 5025; 0 picks a free one).", "N"},
      {"dialect", "Commands understood: wav (default) or curve.", "NAME"},
      {"format", "Codes sent, whatever is asked for: word (default) or byte.", "NAME"},
      {"points", "Points per channel and frame (default 10000).", "N"},
      {"rate", "Samples per second (default 1e6).", "HZ"},
      {"speed", "The scale's motion in signal periods per second (default 1000).", "PERIODS_PER_S"},
      {"pieces", "Write replies in pieces of N bytes.", "N"},
      {"delay", "Wait MS before each piece.", "MS"},
      {"late", "Answer each data query only after MS.", "MS"},
      {"malformed", "Answer with a malformed preamble or block.", "preamble|block"},
      {"hang-up", "Close the connection after N data bytes of the next block.", "N"},
  });
  // The channels' and the signal's parameters, as vantrel-report takes them.
  for (const TOptionDefinition &option : OptionDefinitions()) {
    const TSetupParameter *parameter = FindSetupParameter(option.Name.toStdString());
    if ((parameter && parameter->Part != TParameterPart::Scale) || option.Name == "seed")
      parser.addOption(QCommandLineOption(option.Name, option.Help, option.ValueName));
  }
  parser.process(application);

  TFakeScopeOptions o;
  QString message;
  for (const TSetupParameter &parameter : SetupParameters())
    if (parameter.Part != TParameterPart::Scale && parameter.Part != TParameterPart::Harmonic &&
        parser.isSet(parameter.Name) && message.isEmpty())
      message = ReadSetupValue(parameter, parser.value(parameter.Name), parameter.In(o.Setup));
  if (message.isEmpty() && parser.isSet("seed"))
    message = ReadSeed(parser.value("seed"), o.Setup.Signal.Seed);
  const QString dialect = parser.value("dialect"), format = parser.value("format");
  const QString malformed = parser.value("malformed");
  if (message.isEmpty() && parser.isSet("dialect") && dialect != "wav" && dialect != "curve")
    message = "--dialect needs wav or curve, not '" + dialect + "'";
  if (message.isEmpty() && parser.isSet("format") && format != "word" && format != "byte")
    message = "--format needs word or byte, not '" + format + "'";
  if (message.isEmpty() && parser.isSet("malformed") && malformed != "preamble" &&
      malformed != "block")
    message = "--malformed needs preamble or block, not '" + malformed + "'";
  if (!message.isEmpty()) {
    std::fprintf(stderr, "vantrel_fakescope: %s\n", qPrintable(message));
    return 2;
  }
  o.Curve = dialect == "curve";
  o.Word = format != "byte";
  o.MalformedPreamble = malformed == "preamble";
  o.MalformedBlock = malformed == "block";
  quint16 port = 5025;
  if (!ReadOption(parser, "port", port, 0, 65535) ||
      !ReadOption(parser, "points", o.Points, 1, 1e8) ||
      !ReadOption(parser, "rate", o.Rate, 1e-3, 1e12) ||
      !ReadOption(parser, "speed", o.Speed, -1e12, 1e12) ||
      !ReadOption(parser, "pieces", o.Pieces, 0, 1e9) ||
      !ReadOption(parser, "delay", o.Delay, 0, 1e6) ||
      !ReadOption(parser, "late", o.Late, 0, 1e7) ||
      !ReadOption(parser, "hang-up", o.HangUp, 0, 1e9))
    return 2;

  TFakeScope scope(o);
  if (!scope.Listen(port)) {
    std::fprintf(stderr, "vantrel_fakescope: cannot listen on 127.0.0.1:%u\n", port);
    return 1;
  }
  std::printf("listening on 127.0.0.1:%u\n", scope.Port());
  std::fflush(stdout);
  return application.exec();
}
