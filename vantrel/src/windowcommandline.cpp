#include "windowcommandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <memory>

#include "captureoptions.h"
#include "optionmessages.h"
#include "vantrelversion.h"

namespace {

// The toolkit's options that take a value, and its switches. The window
// accepts them unlisted and QApplication takes them out of argv.
const char *const ToolkitValueOptions[] = {"platform",        "platformpluginpath",
                                           "platformtheme",   "plugin",
                                           "display",         "geometry",
                                           "qwindowgeometry", "title",
                                           "qwindowtitle",    "icon",
                                           "qwindowicon",     "name",
                                           "style",           "stylesheet",
                                           "session",         "fontengine",
                                           "qmljsdebugger"};
const char *const ToolkitSwitches[] = {"reverse", "widgetcount", "nograb", "dograb"};

QString HelpText(const QCommandLineParser &Parser)
{
  // Qt's help text needs a running application, and --help is read before
  // the window's starts: a plain one stands in, which needs no display.
  static int argc = 1;
  static char name[] = "vantrel";
  static char *argv[] = {name, nullptr};
  std::unique_ptr<QCoreApplication> stand_in;
  if (!QCoreApplication::instance())
    stand_in = std::make_unique<QCoreApplication>(argc, argv);
  // The usage line names the program as it is installed, not the path it
  // was started by.
  QString text = Parser.helpText();
  text.replace(0, text.indexOf('\n'), "Usage: vantrel [options] [FILE]");
  text +=
      "\nExit status:\n"
      "  0  the window was closed (whatever a capture it was given showed), or\n"
      "     --help or --version\n"
      "  2  a usage error, named in one line on standard error; the window does\n"
      "     not open\n";
  return text;
}

}  // namespace

TWindowCommandLine ParseWindowCommandLine(const QStringList &Arguments)
{
  QCommandLineParser parser;
  // -platform and the like are the toolkit's, with a single dash.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.setApplicationDescription(
      "The sine/cosine encoder and its arctangent interpolator in a window: the channels' "
      "gains, offsets and phases, the oscilloscope view and the interpolation error. FILE, a "
      "text capture of a measured channel pair, opens beside the simulation with the options "
      "below, as vantrel-report --capture reads it.");
  const QCommandLineOption help({"h", "help"}, "Show this help and exit.");
  const QCommandLineOption version({"v", "version"}, "Show the version and exit.");
  parser.addOption(help);
  parser.addOption(version);
  AddCaptureOptions(parser);
  for (const char *name : ToolkitValueOptions) {
    QCommandLineOption option(name, QString(), "value");
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }
  for (const char *name : ToolkitSwitches) {
    QCommandLineOption option(name);
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }
  parser.addPositionalArgument("FILE", "A capture to open, as vantrel-report --capture FILE.",
                               "[FILE]");

  TWindowCommandLine result;
  TCaptureOptions options;
  // The program name is not ours to parse; a placeholder stands in.
  if (!parser.parse(QStringList("vantrel") + Arguments)) {
    result.Text = parser.errorText();
  } else if (parser.isSet(help)) {
    result.Action = TWindowCommandLine::Help;
    result.Text = HelpText(parser);
    return result;
  } else if (parser.isSet(version)) {
    result.Action = TWindowCommandLine::Version;
    result.Text = QString("vantrel %1\n").arg(VantrelVersion);
    return result;
  } else if (parser.positionalArguments().size() > 1) {
    result.Text = UnexpectedArgumentMessage(parser.positionalArguments()[1]);
  } else {
    result.File = parser.positionalArguments().value(0);
    result.Text = ReadCaptureOptions(parser, options);
    // Without a file the options would read nothing.
    for (const TCaptureOptionText &option : CaptureOptionTexts)
      if (result.Text.isEmpty() && result.File.isEmpty() && parser.isSet(option.Name))
        result.Text = QString("--%1 needs a FILE to open").arg(option.Name);
  }
  if (!result.Text.isEmpty())
    result.Action = TWindowCommandLine::Error;
  else
    result.CaptureOptions = CaptureOptionArguments(options);
  return result;
}
