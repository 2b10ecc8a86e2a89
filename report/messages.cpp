#include "messages.h"

#include <QIODevice>

const char *const ProgramName = "vantrel-report";

void WriteProblem(QIODevice &Err, const QString &Message)
{
  // Standard error is the last resort: a failure there has nowhere to go.
  Err.write(QString("%1: %2\n").arg(ProgramName, Message).toUtf8());
}

void WriteWarning(QIODevice &Err, const QString &Message)
{
  WriteProblem(Err, "warning: " + Message);
}

int Refuse(QIODevice &Err, const QString &Message)
{
  WriteProblem(Err, Message);
  return 2;
}

QString CannotWrite(const QString &Path, const QString &Reason)
{
  return QString("cannot write %1: %2").arg(Path, Reason);
}
