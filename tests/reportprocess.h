#ifndef REPORTPROCESS_H
#define REPORTPROCESS_H

// The built vantrel-report run as a child process, as a user or a script
// runs it, and the checks every command-line test makes of it.
#include <gtest/gtest.h>
#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

struct TReportRun
{
  int ExitCode = -1;
  bool Crashed = true;
  QByteArray Out;
  QByteArray Err;
};

// Runs the program with Input on standard input. With OutputFile its
// standard output goes to that file (say /dev/full) instead of Out.
inline TReportRun RunReportProgram(const QStringList &Arguments, const QByteArray &Input = {},
                                   const QString &OutputFile = {})
{
  QProcess process;
  if (!OutputFile.isEmpty())
    process.setStandardOutputFile(OutputFile);
  process.start(VANTREL_REPORT_PROGRAM, Arguments);
  process.write(Input);
  process.closeWriteChannel();
  process.waitForFinished(60000);
  TReportRun run;
  run.Crashed = process.exitStatus() != QProcess::NormalExit;
  run.ExitCode = process.exitCode();
  run.Out = process.readAllStandardOutput();
  run.Err = process.readAllStandardError();
  return run;
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
