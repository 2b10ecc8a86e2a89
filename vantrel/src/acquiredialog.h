#ifndef ACQUIREDIALOG_H
#define ACQUIREDIALOG_H

#include <QDialog>

class QComboBox;
class QLineEdit;

// Asks where frames come from and which limits judge them.
class TAcquireDialog : public QDialog
{
  Q_OBJECT

public:
  TAcquireDialog(const QString &Source, const QString &Limits, QWidget *parent);

  QString Source() const;
  // A built-in set's name, or empty for none.
  QString Limits() const;

private:
  QLineEdit *d_source;
  QComboBox *d_limits;
};

#endif
