// vantrel-report --acquire against the simulated oscilloscope: the signals
// it was told to make come back, a saved frame reads back to the same
// figures, a failed acquisition writes nothing, Ctrl-C reports the frames
// so far.
#include <gtest/gtest.h>
#include <QJsonArray>
#include <QThread>
#include <csignal>

#include "fakescopeprocess.h"
#include "reportprocess.h"

namespace {

QJsonObject JsonFile(const QString &Path)
{
  return QJsonDocument::fromJson(ReadFile(Path)).object();
}

}  // namespace

TEST(ReportAcquireTest, FramesGiveBackTheSimulatedSignalsAndTheirSavedCopyReadsTheSame)
{
  // 4 periods a frame of 4000 samples at 1 MHz; 16-bit codes of 2.5 V.
  TFake fake({"--gain-a", "0.8", "--offset-a", "0.1", "--phase-a", "0.2", "--gain-b", "0.9",
              "--offset-b", "-0.05", "--points", "4000", "--speed", "1000"});
  QTemporaryDir dir;
  const QString json = dir.filePath("a.json"), saved = dir.filePath("s.csv");
  const TReportRun run =
      RunReportProgram({"--acquire", QString::fromStdString(fake.Name), "--frames", "3", "--format",
                        "json", "--output", json, "--save", saved});
  EXPECT_EQ(run.ExitCode, 0) << run.Err.constData();
  EXPECT_TRUE(run.Err.startsWith(QByteArray("vantrel-report: ") + fake.Name.c_str() +
                                 " is VANTREL,FAKESCOPE-WAV"))
      << run.Err.constData();
  const QJsonObject acquired = JsonFile(json);
  const QJsonObject e = acquired["ellipse"].toObject();
  EXPECT_NEAR(e["offset_a"].toDouble(), 0.1, 1e-4);
  EXPECT_NEAR(e["offset_b"].toDouble(), -0.05, 1e-4);
  EXPECT_NEAR(e["amplitude_a"].toDouble(), 0.8, 1e-4);
  EXPECT_NEAR(e["amplitude_b"].toDouble(), 0.9, 1e-4);
  EXPECT_NEAR(e["phase_rad"].toDouble(), 0.2, 1e-4);
  EXPECT_NEAR(acquired["motion"]["frequency_hz"]["mean"].toDouble(), 1000.0, 10.0);
  const QJsonObject frames = acquired["frames"].toObject();
  EXPECT_EQ(frames["count"].toInt(), 3);
  EXPECT_NEAR(frames["amplitude_a"]["mean"].toDouble(), 0.8, 1e-4);
  EXPECT_LT(frames["amplitude_a"]["sd"].toDouble(), 1e-4);
  EXPECT_TRUE(acquired["instrument"].toString().startsWith("VANTREL,FAKESCOPE-WAV"));

  const TReportRun reread = RunReportProgram({"--capture", saved, "--format", "json"});
  EXPECT_EQ(reread.ExitCode, 0) << reread.Err.constData();
  const QJsonObject read = JsonOf(reread.Out);
  for (const char *key : {"ellipse", "uncertainty", "measured_error", "distortion", "motion"})
    EXPECT_EQ(read[key], acquired[key]) << key;
}

TEST(ReportAcquireTest, AFailedAcquisitionWritesNothingAndCtrlCReportsTheFramesSoFar)
{
  QTemporaryDir dir;
  const QString json = dir.filePath("a.json");
  {
    TFake fake({"--hang-up", "100"});
    const TReportRun run = RunReportProgram({"--acquire", QString::fromStdString(fake.Name),
                                             "--output", json, "--save", json + ".csv"});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_TRUE(run.Err.contains("the instrument closed the connection after 100 of 20000 bytes"))
        << run.Err.constData();
    EXPECT_FALSE(QFile::exists(json));
    EXPECT_FALSE(QFile::exists(json + ".csv"));
  }
  TFake fake({"--points", "2000"});
  QProcess process;
  process.start(VANTREL_REPORT_PROGRAM, {"--acquire", QString::fromStdString(fake.Name), "--frames",
                                         "1000000", "--format", "json"});
  ASSERT_TRUE(process.waitForStarted());
  // The identity line comes once the instrument answered.
  process.setReadChannel(QProcess::StandardError);
  ASSERT_TRUE(process.waitForReadyRead(5000));
  QThread::msleep(300);
  ::kill(static_cast<pid_t>(process.processId()), SIGINT);
  ASSERT_TRUE(process.waitForFinished(10000));
  EXPECT_EQ(process.exitCode(), 130);
  const QJsonObject partial = JsonOf(process.readAllStandardOutput());
  const long count = partial["frames"]["count"].toInt();
  EXPECT_GE(count, 1);
  EXPECT_TRUE(process.readAllStandardError().endsWith(
      QString("stopped by Ctrl-C after %1 of 1000000 frames\n").arg(count).toUtf8()));
}
