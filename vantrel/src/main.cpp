#include <QApplication>
#include <QIcon>
#include <QStyleFactory>

#include "vantrel.h"

int main(int argc, char *argv[])
{
  QApplication application(argc, argv);
  QApplication::setStyle(QStyleFactory::create("fusion"));
  // The window shows the application image; on Windows the executable
  // carries it as well.
  QApplication::setWindowIcon(QIcon(":/icons/vantrel.png"));

  TVantrel *window = new TVantrel(nullptr, Qt::WindowFlags());
  window->show();
  // vantrel FILE opens the capture FILE.
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1)
    window->OpenCapture(arguments[1]);
  const int result = QApplication::exec();
  delete window;
  return result;
}
