#ifndef REPORTPROCESS_H
#define REPORTPROCESS_H

// The built vantrel-report run as a child process, as a user or a script
// runs it, and the checks every command-line test makes of it.
#include <gtest/gtest.h>
#include <QByteArray>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <initializer_list>

struct TReportRun
{
  int ExitCode = -1;
  bool Crashed = true;
  QByteArray Out;
  QByteArray Err;
};

// Runs Process, set up by the caller, until it ends, with Input on its
// standard input.
inline TReportRun RunProcess(QProcess &Process, const QString &Program,
                             const QStringList &Arguments, const QByteArray &Input = {})
{
  Process.start(Program, Arguments);
  Process.write(Input);
  Process.closeWriteChannel();
  Process.waitForFinished(60000);
  TReportRun run;
  run.Crashed = Process.exitStatus() != QProcess::NormalExit;
  run.ExitCode = Process.exitCode();
  run.Out = Process.readAllStandardOutput();
  run.Err = Process.readAllStandardError();
  return run;
}

// Runs the program with Input on standard input. With OutputFile its
// standard output goes to that file (say /dev/full) instead of Out.
inline TReportRun RunReportProgram(const QStringList &Arguments, const QByteArray &Input = {},
                                   const QString &OutputFile = {})
{
  QProcess process;
  if (!OutputFile.isEmpty())
    process.setStandardOutputFile(OutputFile);
  return RunProcess(process, VANTREL_REPORT_PROGRAM, Arguments, Input);
}

// A file's bytes, or "<missing>" when it cannot be read.
inline QByteArray ReadFile(const QString &Path)
{
  QFile file(Path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline void WriteFile(const QString &Path, const QByteArray &Content)
{
  QFile file(Path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << qPrintable(Path);
  ASSERT_EQ(file.write(Content), Content.size());
}

// The path of file Name, written into Dir with Content.
inline QString WriteTestFile(const QTemporaryDir &Dir, const QString &Name,
                             const QByteArray &Content)
{
  WriteFile(Dir.filePath(Name), Content);
  return Dir.filePath(Name);
}

inline QString ExampleFile(const QString &Name)
{
  return QString(VANTREL_EXAMPLES_DIR) + "/" + Name;
}

inline QJsonObject JsonOf(const QByteArray &Text)
{
  return QJsonDocument::fromJson(Text).object();
}

// The lines of a CSV text, each split at its commas.
inline QList<QList<QByteArray>> CsvRows(const QByteArray &Csv)
{
  QList<QList<QByteArray>> rows;
  for (const QByteArray &line : Csv.trimmed().split('\n'))
    rows << line.split(',');
  return rows;
}

// A run that ended normally with status 0 and said nothing on standard
// error but Err (warnings).
inline void ExpectSuccess(const TReportRun &Run, const QByteArray &Err = {})
{
  EXPECT_FALSE(Run.Crashed);
  EXPECT_EQ(Run.ExitCode, 0);
  EXPECT_EQ(Run.Err, Err);
}

// The JSON report of Arguments, from a run that must end with ExitCode.
inline QJsonObject ReportJson(const QStringList &Arguments, int ExitCode = 0)
{
  const TReportRun run = RunReportProgram(Arguments + QStringList{"--format", "json"});
  EXPECT_FALSE(run.Crashed);
  EXPECT_EQ(run.ExitCode, ExitCode) << run.Err.constData();
  return JsonOf(run.Out);
}

// The shards K of Count of Study, K in the order given, each written as
// JSON into Dir; their paths in that order.
inline QStringList WriteShards(const QTemporaryDir &Dir, const QStringList &Study,
                               std::initializer_list<int> Ks, int Count)
{
  QStringList paths;
  for (int k : Ks) {
    paths << Dir.filePath(QString("shard%1.json").arg(k));
    const TReportRun run =
        RunReportProgram(Study + QStringList{"--shard", QString("%1/%2").arg(k).arg(Count),
                                             "--format", "json", "--output", paths.last()});
    EXPECT_TRUE(run.ExitCode == 0 || run.ExitCode == 1) << run.Err.constData();
  }
  return paths;
}

// A command line to be refused, and what its message must say.
struct TRefusalCase
{
  QStringList Arguments;
  QByteArray Says;
};

// A refusal: status 2, nothing on standard output, and one line on
// standard error, "vantrel-report: ..." containing Says.
inline void ExpectRefusal(const TReportRun &Run, const QByteArray &Says)
{
  EXPECT_FALSE(Run.Crashed);
  EXPECT_EQ(Run.ExitCode, 2);
  EXPECT_TRUE(Run.Out.isEmpty()) << Run.Out.left(200).constData();
  EXPECT_TRUE(Run.Err.startsWith("vantrel-report: ")) << Run.Err.constData();
  EXPECT_EQ(Run.Err.count('\n'), 1) << Run.Err.constData();
  EXPECT_TRUE(Run.Err.endsWith('\n')) << Run.Err.constData();
  EXPECT_TRUE(Run.Err.contains(Says)) << Run.Err.constData() << " lacks " << Says.constData();
}

// A refusal whose line is exactly "vantrel-report: Message".
inline void ExpectRefusalLine(const TReportRun &Run, const QByteArray &Message)
{
  ExpectRefusal(Run, Message);
  EXPECT_EQ(Run.Err, "vantrel-report: " + Message + "\n");
}

#endif
