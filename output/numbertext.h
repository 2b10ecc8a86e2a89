#ifndef NUMBERTEXT_H
#define NUMBERTEXT_H

#include <QByteArray>
#include <QString>

// How the reports write a number. Each form is already in files users
// keep and compare, so forms that differ only in layout stay apart; none
// depends on the locale.

// Six significant digits in %g layout ("0.0012", "1e-05"): the summaries'
// columns, the sweep, the messages and the plots' legends.
QString Figure(double Value);

// Three significant digits without an exponent where that stays short
// ("2130", "0.0212"): the window's messages, taken in at a glance.
QString MessageFigure(double Value);

// The shortest text that reads back as the same double, in %g layout
// ("0.0001", "100000"): command lines and the study's summary.
QString ShortestText(double Value);

// The CSV files' numbers, which all read back as the same double:
// the shortest text in its shortest layout ("1e-04", "-0"): a study's
// trials;
void AppendShortest(QByteArray &Text, double Value);
// seventeen significant digits ("0.10000000000000001", "-0"): a capture's
// samples;
void AppendDigits17(QByteArray &Text, double Value);
// seventeen significant digits as Qt writes them, which drops the sign of
// zero and rounds a tie away from zero: the evaluation's points.
void AppendQtDigits17(QByteArray &Text, double Value);

#endif
