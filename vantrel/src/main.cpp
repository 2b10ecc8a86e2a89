#include <QApplication>
#include <QIcon>
#include <QStyleFactory>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "vantrel.h"
#include "windowcommandline.h"

int main(int argc, char *argv[])
{
  // The command line is read before the toolkit starts, so that --help,
  // --version and a mistake need no display.
  QStringList arguments;
  for (int i = 1; i < argc; ++i)
    arguments << QString::fromLocal8Bit(argv[i]);
  const TWindowCommandLine command = ParseWindowCommandLine(arguments);
  if (command.Action == TWindowCommandLine::Help || command.Action == TWindowCommandLine::Version) {
    std::fputs(command.Text.toLocal8Bit().constData(), stdout);
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
      return 0;
    std::fprintf(stderr, "vantrel: cannot write standard output: %s\n", std::strerror(errno));
    return 2;
  }
  if (command.Action == TWindowCommandLine::Error) {
    std::fprintf(stderr, "vantrel: %s\n", command.Text.toLocal8Bit().constData());
    return 2;
  }

  // QApplication takes its own options (-platform, -style, ...) out of argv.
  QApplication application(argc, argv);
  QApplication::setStyle(QStyleFactory::create("fusion"));
  // The window shows the application image; on Windows the executable
  // carries it as well.
  QApplication::setWindowIcon(QIcon(":/icons/vantrel.png"));

  TVantrel *window = new TVantrel(nullptr, Qt::WindowFlags());
  window->show();
  if (!command.File.isEmpty())
    window->OpenCapture(command.File, command.CaptureOptions);
  const int result = QApplication::exec();
  delete window;
  return result;
}
