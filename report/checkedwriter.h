#ifndef CHECKEDWRITER_H
#define CHECKEDWRITER_H

#include <QIODevice>
#include <QString>

// Passes writes on to Target and keeps the first failure's reason, so the
// text and plot writers need not check each write themselves. After a
// failure it drops every later write, so a full disk is not retried row
// by row; Finish() tells.
class TCheckedWriter : public QIODevice
{
public:
  explicit TCheckedWriter(QIODevice &Target);

  // Flushes Target when it is a file; empty when every byte went out,
  // else the system's words for the first failure.
  QString Finish();
  bool Failed() const { return !d_reason.isEmpty(); }

protected:
  qint64 readData(char *Data, qint64 MaximumSize) override;
  qint64 writeData(const char *Data, qint64 Size) override;

private:
  void Fail();

  QIODevice &d_target;
  QString d_reason;
};

#endif
