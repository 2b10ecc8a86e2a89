#ifndef REPORTPROCESS_H
#define REPORTPROCESS_H

#include <QByteArray>
#include <QProcess>
#include <QStringList>

// The built vantrel-report run as a child process, as a user or a script
// runs it.
struct TReportRun
{
  int ExitCode = -1;
  bool Crashed = true;
  QByteArray Out;
  QByteArray Err;
};

inline TReportRun RunReportProgram(const QStringList &Arguments)
{
  QProcess process;
  process.start(VANTREL_REPORT_PROGRAM, Arguments);
  process.closeWriteChannel();
  process.waitForFinished(60000);
  TReportRun run;
  run.Crashed = process.exitStatus() != QProcess::NormalExit;
  run.ExitCode = process.exitCode();
  run.Out = process.readAllStandardOutput();
  run.Err = process.readAllStandardError();
  return run;
}

#endif
