#include "acquiredialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "signallimits.h"

namespace {

const char *const NoLimits = "None";

}  // namespace

TAcquireDialog::TAcquireDialog(const QString &Source, const QString &Limits, QWidget *parent)
    : QDialog(parent)
{
  setWindowTitle("Acquire");
  QVBoxLayout *layout = new QVBoxLayout(this);
  QLabel *help = new QLabel(
      "An oscilloscope: scpi://HOST[:PORT][?dialect=wav|curve&channels=1,2]\n"
      "A sound card: alsa:DEVICE[?rate=48000]\n"
      "A capture file replayed: file:PATH[?frame=N]",
      this);
  layout->addWidget(help);
  QFormLayout *form = new QFormLayout();
  d_source = new QLineEdit(Source, this);
  d_source->setObjectName("source");
  d_source->setMinimumWidth(d_source->fontMetrics().horizontalAdvance('x') * 40);
  form->addRow("Source:", d_source);
  d_limits = new QComboBox(this);
  d_limits->setObjectName("limits");
  d_limits->addItem(NoLimits);
  for (const TLimitSet &set : BuiltInLimitSets())
    d_limits->addItem(QString::fromStdString(set.Name));
  const int limits = d_limits->findText(Limits);
  d_limits->setCurrentIndex(limits >= 0 ? limits : 0);
  form->addRow("Limits:", d_limits);
  layout->addLayout(form);
  QDialogButtonBox *buttons =
      new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText("Start");
  layout->addWidget(buttons);
  connect(buttons, SIGNAL(accepted()), this, SLOT(accept()));
  connect(buttons, SIGNAL(rejected()), this, SLOT(reject()));
}

QString TAcquireDialog::Source() const
{
  return d_source->text().trimmed();
}

QString TAcquireDialog::Limits() const
{
  return d_limits->currentText() == NoLimits ? QString() : d_limits->currentText();
}
