#ifndef PROTOCOLOUTPUT_H
#define PROTOCOLOUTPUT_H

#include <QString>

#include "encodersetup.h"

class QIODevice;
struct TCaptureReport;
struct TJudgement;
struct TReportConfig;

// The run's protocol into Device, a file opened by the output
// transaction at Config.ProtocolPath. Empty when written, else the
// problem line.
QString WriteSimulationProtocol(const TReportConfig &Config, const TEvaluation &Evaluation,
                                const TJudgement *Judgement, QIODevice &Device);
// A capture's, read from a file, or an acquisition's last frame.
QString WriteCaptureProtocol(const TReportConfig &Config, const TCaptureReport &Report,
                             QIODevice &Device);

#endif
