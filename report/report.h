#ifndef REPORT_H
#define REPORT_H

#include <QStringList>

class QIODevice;

// The whole program after start-up: reads Arguments (without the program
// name) into one configuration, runs its mode and returns the exit
// status. Needs a QApplication for plots.
int RunReport(const QStringList &Arguments, QIODevice &Out, QIODevice &Err);

#endif
