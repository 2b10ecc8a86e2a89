#ifndef FAKESCOPEPROCESS_H
#define FAKESCOPEPROCESS_H

// The simulated oscilloscope, vantrel_fakescope, as a child process on a
// free port for as long as a test holds it.
#include <gtest/gtest.h>
#include <QProcess>
#include <QStringList>
#include <string>

struct TFake
{
  QProcess Process;
  // Its address, scpi://127.0.0.1:PORT.
  std::string Name;

  explicit TFake(const QStringList &Arguments)
  {
    Process.start(VANTREL_FAKESCOPE_PROGRAM, QStringList{"--port", "0"} + Arguments);
    EXPECT_TRUE(Process.waitForReadyRead(5000));
    const QByteArray line = Process.readLine().trimmed();
    EXPECT_TRUE(line.startsWith("listening on 127.0.0.1:")) << line.toStdString();
    Name = "scpi://" + line.mid(13).toStdString();
  }
  ~TFake()
  {
    Process.kill();
    Process.waitForFinished();
  }
};

#endif
