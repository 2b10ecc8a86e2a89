#ifndef CAPTUREOPTIONSDIALOG_H
#define CAPTUREOPTIONSDIALOG_H

#include <QDialog>
#include <QString>

#include "windowcapture.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

// Asks for the options a refused capture may need: each channel's
// reference level, the columns of the channels (by number and header
// name), whether bad rows are skipped and whether its numbers use a
// decimal comma. Filled with what the file suggests.
class TCaptureOptionsDialog : public QDialog
{
  Q_OBJECT

public:
  TCaptureOptionsDialog(const QString &Path, const TCaptureRefusal &Refusal, QWidget *parent);

  const QString &Path() const { return d_path; }
  // The options the fields hold; valid once the dialog was accepted.
  const TCaptureOptions &Options() const { return d_options; }

public slots:
  // Accepts the dialog when every field reads; otherwise says which does
  // not, and stays open.
  void accept() override;

private:
  QString d_path;
  TCaptureOptions d_options;
  QLabel *d_problem;
  QLineEdit *d_zero[2];
  QComboBox *d_column[2];
  QCheckBox *d_skip_bad_rows;
  QCheckBox *d_decimal_comma;
};

#endif
