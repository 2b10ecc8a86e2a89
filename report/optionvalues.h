#ifndef OPTIONVALUES_H
#define OPTIONVALUES_H

#include <QSize>
#include <QString>

#include "options.h"
#include "optiontable.h"

// Readers of the options' values. Each returns an empty string when the
// text is fine and stores what it means, else the one-line message.

QString ReadSetupValue(const TSetupParameter &Parameter, const QString &Text, double &Value);
// The count pitch / resolution must round into MinimumCount ... MaximumCount.
QString CheckCount(const TEncoderSetup &Setup);
QString ReadAdcBits(const QString &Text, int &Bits);
// One --harmonic H,K[,PHI]; PHI is 0 unless given.
QString ReadHarmonic(const QString &Text, int &Order, double &K, double &Phase);
QString ReadFormat(const QString &Text, TReportFormat &Format);
QString ReadSize(const QString &Text, QSize &Size);
QString CheckPlotExtension(const QString &Option, const QString &Path);
QString ReadSweep(const QString &Text, TSweep &Sweep);
QString ReadAmplitude(const QString &Text, double &Amplitude);
QString ReadTrials(const QString &Text, long &Trials);
QString ReadFrames(const QString &Text, long &Frames);
// --table-size, --table-bits and --table-step.
QString ReadTableSettings(const QCommandLineParser &Parser, TTableSettings &Table);
QString ReadTolerance(const QString &Text, TTolerances &Tolerances);
QString ReadDistribution(const QString &Text, TDistribution &Distribution);
QString ReadSeed(const QString &Text, std::uint64_t &Seed);
QString ReadThreads(const QString &Text, int &Threads);
// The limit in % of the period; mm need the pitch.
QString ReadLimit(const QString &Text, double Pitch, double &Percent);
QString ReadLimitOn(const QString &Text, TLimitOn &On);
QString ReadShard(const QString &Text, TShard &Shard);

#endif
