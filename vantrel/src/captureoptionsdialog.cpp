#include "captureoptionsdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "fixedtexts.h"
#include "numbertext.h"
#include "optionnumber.h"

namespace {

// Columns offered when the file did not say how many it has.
const int OfferedColumns = 8;

// A level as typed: a decimal point or a decimal comma.
bool ReadLevel(const QString &Text, double &Value)
{
  return ParseOptionNumber(QString(Text).trimmed().replace(',', '.'), Value) &&
         std::isfinite(Value);
}

// The column a guess takes, as the reader guesses: 1,2 for two columns,
// 2,3 for more.
int GuessedColumn(int Channel, int Count)
{
  return Count == 2 ? Channel + 1 : Channel + 2;
}

}  // namespace

TCaptureOptionsDialog::TCaptureOptionsDialog(const QString &Path, const TCaptureRefusal &Refusal,
                                             QWidget *parent)
    : QDialog(parent), d_path(Path), d_options(Refusal.Suggested)
{
  setWindowTitle("Capture Options");
  QVBoxLayout *layout = new QVBoxLayout(this);
  // The first line names the file; the reason need not again.
  QString why = Refusal.Reason;
  if (why.startsWith(Path + ": "))
    why.remove(0, Path.size() + 2);
  else if (why.startsWith(Path + ":"))
    why.replace(0, Path.size() + 1, "Line ");
  QLabel *reason = new QLabel(QString("%1 was not opened.\n%2\n\n%3")
                                  .arg(QFileInfo(Path).fileName(), FirstCapital(why), Refusal.Hint),
                              this);
  reason->setObjectName("reason");
  reason->setWordWrap(true);
  layout->addWidget(reason);

  QFormLayout *form = new QFormLayout();
  const int columns = Refusal.ColumnCount > 0 ? Refusal.ColumnCount : OfferedColumns;
  for (int c = 0; c < 2; ++c) {
    d_zero[c] = new QLineEdit(ShortestText(d_options.Zero[c]), this);
    d_zero[c]->setObjectName(c == 0 ? "zero_a" : "zero_b");
    d_zero[c]->setToolTip(
        "Subtracted from the channel before the arctangent: 2.5 for signals on "
        "a 2.5 V reference, 2048 for 12-bit unsigned counts");
    form->addRow(QString("Reference level %1:").arg(ChannelLabel(c)), d_zero[c]);
  }
  for (int c = 0; c < 2; ++c) {
    d_column[c] = new QComboBox(this);
    d_column[c]->setObjectName(c == 0 ? "column_a" : "column_b");
    for (int k = 1; k <= columns; ++k) {
      const QString name = k <= Refusal.ColumnNames.size() ? Refusal.ColumnNames[k - 1] : "";
      d_column[c]->addItem(name.isEmpty() ? QString::number(k) : QString("%1: %2").arg(k).arg(name),
                           k);
    }
    const int chosen = c == 0 ? d_options.Read.Columns.A : d_options.Read.Columns.B;
    const int shown = chosen > 0 ? chosen : GuessedColumn(c, columns);
    d_column[c]->setCurrentIndex(std::min(shown, columns) - 1);
    form->addRow(QString("Column of %1:").arg(ChannelLabel(c)), d_column[c]);
  }
  d_skip_bad_rows = new QCheckBox("Skip rows that are not numbers", this);
  d_skip_bad_rows->setObjectName("skip_bad_rows");
  d_skip_bad_rows->setChecked(d_options.Read.SkipBadRows);
  form->addRow(d_skip_bad_rows);
  d_decimal_comma = new QCheckBox("Numbers use a decimal comma", this);
  d_decimal_comma->setObjectName("decimal_comma");
  d_decimal_comma->setChecked(d_options.Read.DecimalComma);
  form->addRow(d_decimal_comma);
  layout->addLayout(form);

  d_problem = new QLabel(this);
  d_problem->setObjectName("problem");
  layout->addWidget(d_problem);

  QDialogButtonBox *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
  buttons->addButton("Open", QDialogButtonBox::AcceptRole);
  layout->addWidget(buttons);
  connect(buttons, SIGNAL(accepted()), this, SLOT(accept()));
  connect(buttons, SIGNAL(rejected()), this, SLOT(reject()));
}

void TCaptureOptionsDialog::accept()
{
  // What the dialog does not show, such as the time column, stays.
  TCaptureOptions options = d_options;
  for (int c = 0; c < 2; ++c)
    if (!ReadLevel(d_zero[c]->text(), options.Zero[c])) {
      d_problem->setText(QString("The reference level of %1 is no number.").arg(ChannelLabel(c)));
      d_zero[c]->setFocus();
      return;
    }
  options.Read.Columns = TCaptureColumns();
  options.Read.Columns.A = d_column[0]->currentData().toInt();
  options.Read.Columns.B = d_column[1]->currentData().toInt();
  if (options.Read.Columns.A == options.Read.Columns.B) {
    d_problem->setText("Channels A and B need two different columns.");
    d_column[1]->setFocus();
    return;
  }
  options.Read.SkipBadRows = d_skip_bad_rows->isChecked();
  options.Read.DecimalComma = d_decimal_comma->isChecked();
  d_options = options;
  QDialog::accept();
}
