#ifndef REPORTRUN_H
#define REPORTRUN_H

#include <QString>
#include <QStringList>

class QIODevice;

// A problem report: one line on Err, "vantrel-report: Message".
void WriteReportMessage(QIODevice &Err, const QString &Message);

// The whole program after start-up: parses Arguments (without the
// program name), writes the output and returns the exit status: 0, 1 for
// a counter that did not return (output still complete), 2 for a usage
// or input error, which leaves Out empty and every output file as it was.
// Needs a QApplication for plots.
int RunReport(const QStringList &Arguments, QIODevice &Out, QIODevice &Err);

#endif
