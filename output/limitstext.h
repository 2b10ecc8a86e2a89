#ifndef LIMITSTEXT_H
#define LIMITSTEXT_H

#include <QByteArray>
#include <QJsonArray>
#include <QString>
#include <QStringList>

#include "signallimits.h"

QString VerdictText(TVerdict Verdict);
// The checks' table for a summary, after a blank line.
QString ChecksText(const TJudgement &Judgement);
// {name, quantity, value, uncertainty (k = 1), low, high, below_hz,
// verdict} per check, null where absent.
QJsonArray ChecksJson(const TJudgement &Judgement);
// What the reader must know to trust the verdicts, one line each.
QStringList JudgementWarnings(const TJudgement &Judgement);
// One line for outputs without the table: "limits 1vpp: 2 of 7 fail, ...".
QString JudgementLine(const TJudgement &Judgement);
// Every built-in set with its limits, then the quantities a file may name.
QByteArray LimitSetsText();

#endif
