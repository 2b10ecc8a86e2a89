#ifndef MESSAGES_H
#define MESSAGES_H

#include <QString>

class QIODevice;

// The program's name, as every line it writes to standard error starts.
extern const char *const ProgramName;

// A problem: one line "vantrel-report: Message" on Err.
void WriteProblem(QIODevice &Err, const QString &Message);
// A warning, which leaves the exit status alone:
// "vantrel-report: warning: Message".
void WriteWarning(QIODevice &Err, const QString &Message);
// Writes the problem and returns the usage-or-input status, 2.
int Refuse(QIODevice &Err, const QString &Message);

// The one text of every output that cannot be written; Path is the file
// name or "standard output", Reason the system's own words.
QString CannotWrite(const QString &Path, const QString &Reason);

#endif
