// Grabs the real Vantrel window into a PNG, after setting controls the way
// a user would. Usage:
//   vantrel_screenshot OUT.png [size=WxH] [NAME=VALUE ...]
// NAME is a control's object name: a spin box (gain_a=2.0), a combo box
// (scale_pitch=0.120), the mode button (scope_mode=1) or the output tabs
// (output_tabs=1); capture=PATH opens a capture (refused=PATH tries one
// that asks for options or is refused); acquire=SOURCE acquires live and
// waits for the first frames (wait=MS, default 1500); dialog=OUT.png grabs the dialog or
// message box left open as well; scope=OUT.png draws the scope alone at
// 600 x 400, as it would show in a taller window.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QStyleFactory>
#include <QTabWidget>
#include <QToolButton>
#include <cstdio>

#include "graphwidget.h"
#include "vantrel.h"

namespace {

bool Apply(TVantrel &window, const QString &name, const QString &value)
{
  if (name == "size") {
    const QStringList parts = value.split('x');
    if (parts.size() != 2)
      return false;
    window.resize(parts[0].toInt(), parts[1].toInt());
    return true;
  }
  if (name == "capture")
    return window.OpenCapture(value);
  if (name == "refused")
    return !window.OpenCapture(value);
  if (name == "acquire")
    return window.StartAcquisition(value);
  if (name == "wait") {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < value.toInt())
      QApplication::processEvents(QEventLoop::AllEvents, 20);
    return true;
  }
  if (auto *box = window.findChild<QDoubleSpinBox *>(name)) {
    box->setValue(value.toDouble());
    return true;
  }
  if (auto *combo = window.findChild<QComboBox *>(name)) {
    combo->setCurrentText(value);
    return combo->currentText() == value;
  }
  if (auto *button = window.findChild<QToolButton *>(name)) {
    button->setChecked(value.toInt() != 0);
    return true;
  }
  if (auto *tabs = window.findChild<QTabWidget *>(name)) {
    tabs->setCurrentIndex(value.toInt());
    return true;
  }
  return false;
}

}  // namespace

int main(int argc, char *argv[])
{
  QApplication application(argc, argv);
  QApplication::setStyle(QStyleFactory::create("fusion"));
  QApplication::setWindowIcon(QIcon(":/icons/vantrel.png"));
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUT.png [size=WxH] [NAME=VALUE ...]\n", argv[0]);
    return 2;
  }

  TVantrel window;
  window.show();
  QApplication::processEvents();
  QString dialog_file, scope_file;
  for (int i = 2; i < argc; ++i) {
    const QString argument = QString::fromLocal8Bit(argv[i]);
    const int equals = argument.indexOf('=');
    if (equals > 0 && argument.left(equals) == "dialog") {
      dialog_file = argument.mid(equals + 1);
      continue;
    }
    if (equals > 0 && argument.left(equals) == "scope") {
      scope_file = argument.mid(equals + 1);
      continue;
    }
    if (equals < 0 || !Apply(window, argument.left(equals), argument.mid(equals + 1))) {
      std::fprintf(stderr, "cannot apply %s\n", argv[i]);
      return 2;
    }
    QApplication::processEvents();
  }
  QApplication::processEvents();
  if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  if (!scope_file.isEmpty()) {
    QImage image(600, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    window.findChild<TGraphWidget *>("scope")->RenderToDevice(&painter, image.rect(), true);
    painter.end();
    if (!image.save(scope_file)) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(scope_file));
      return 1;
    }
  }
  if (!dialog_file.isEmpty()) {
    const QList<QDialog *> dialogs = window.findChildren<QDialog *>();
    if (dialogs.isEmpty() || !dialogs.last()->grab().save(dialog_file)) {
      std::fprintf(stderr, "no dialog to write to %s\n", qPrintable(dialog_file));
      return 1;
    }
  }
  return 0;
}
