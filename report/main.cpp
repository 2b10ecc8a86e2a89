#include <unistd.h>
#include <QApplication>
#include <QFile>
#include <QStringList>
#include <cstdio>

#include "messages.h"
#include "report.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

// The toolkit's own notes (a missing runtime directory, say) mean nothing
// to someone reading the report's errors, so only its critical and fatal
// messages reach standard error; the report's messages are its own lines.
void ToolkitMessage(QtMsgType Type, const QMessageLogContext &, const QString &Message)
{
  if (Type == QtCriticalMsg || Type == QtFatalMsg)
    std::fprintf(stderr, "%s: %s\n", ProgramName, qPrintable(Message));
}

}  // namespace

int main(int argc, char *argv[])
{
  // The report never shows a window: plots are drawn offscreen, so the
  // program runs the same with or without a display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(ToolkitMessage);
  // Qt sees only the program name, so options such as -style stay ours
  // (and are rejected) instead of being taken by the toolkit.
  int qt_argc = 1;
#if defined(__SANITIZE_ADDRESS__)
  // Qt's offscreen platform never frees the screen it sets up here; that
  // leak is Qt's, so the leak checker skips what start-up allocates.
  __lsan_disable();
  QApplication application(qt_argc, argv);
  __lsan_enable();
#else
  QApplication application(qt_argc, argv);
#endif
  QStringList arguments;
  for (int i = 1; i < argc; ++i)
    arguments << QString::fromLocal8Bit(argv[i]);

  // The descriptors themselves, not C's buffered streams: every write
  // reaches the system at once, so a full disk or a closed pipe shows in
  // the write that meets it and the report can say so.
  QFile out, err;
  if (!out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered) ||
      !err.open(STDERR_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered))
    return 2;
  return RunReport(arguments, out, err);
}
