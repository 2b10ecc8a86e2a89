#ifndef LIMITSTEXT_H
#define LIMITSTEXT_H

#include <QByteArray>
#include <QJsonArray>
#include <QString>
#include <QStringList>

#include "signallimits.h"
#include "studylimits.h"

QString VerdictText(TVerdict Verdict);
// "phase (deg)"; amplitudes keep the capture's or the model's units.
QString LimitLabel(const std::string &Name, TLimitQuantity Quantity);
// The checks' table for a summary, after a blank line.
QString ChecksText(const TJudgement &Judgement);
// {name, quantity, value, uncertainty (k = 1), low, high, below_hz,
// verdict} per check, null where absent.
QJsonArray ChecksJson(const TJudgement &Judgement);
// What the reader must know to trust the verdicts, one line each.
QStringList JudgementWarnings(const TJudgement &Judgement);
// One line for outputs without the table: "limits 1vpp: 2 of 7 fail, ...".
QString JudgementLine(const TJudgement &Judgement);
// A study's checks: each one's bounds and how many trials pass, fail or
// are undecided; in JSON {name, quantity, low, high, below_hz, pass, fail,
// undecided}.
QString TrialChecksText(const TStudyJudgement &Judgement);
QJsonArray TrialChecksJson(const TStudyJudgement &Judgement);
// "limits 1vpp: 3 of 100 trials fail a check, 5 more are undecided"
QString TrialJudgementLine(const TStudyJudgement &Judgement, long Trials);
// Every built-in set with its limits, then the quantities a file may name.
QByteArray LimitSetsText();

#endif
