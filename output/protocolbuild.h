#ifndef PROTOCOLBUILD_H
#define PROTOCOLBUILD_H

#include <QString>
#include <QStringList>

#include "capturetext.h"
#include "protocol.h"

class TGraphWidget;

// A simulated setup's protocol: its parameters, error, checks and
// correction. Graphs and command are the caller's.
TProtocol SimulationProtocol(const TEvaluationSummary &Summary, const TJudgement *Judgement);
// A fitted capture's (file or acquisition): the fitted ellipse with its
// uncertainties, the measured error, the checks and the correction of its
// model. Source and graphs are the caller's.
TProtocol CaptureProtocol(const TCaptureReport &Report);

// The hex SHA-256 of the file's bytes; empty when it cannot be read.
QString FileSha256(const QString &Path);
// The command line as a shell reads it back: arguments with anything but
// plain characters in single quotes.
QString ShellCommand(const QString &Program, const QStringList &Arguments);
// The error the calibration leaves, over one pitch in mm.
void ShowCorrectedError(TGraphWidget &Graph, const TEvaluationSummary &Summary);

// The correction table's settings and the error it leaves, beside the
// error before any correction and after the ellipse.
TProtocolTable CorrectionTableSummary(const TEvaluationSummary &Summary);

#endif
