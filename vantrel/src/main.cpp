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
  const int result = QApplication::exec();
  delete window;
  return result;
}
