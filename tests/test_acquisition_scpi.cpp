// The scpi source against the simulated oscilloscope over a local socket:
// signals in both dialects and code widths, replies in pieces, and every
// failure's message; the block and preamble readers on written replies.
#include <gtest/gtest.h>
#include <QProcess>
#include <QTcpServer>
#include <QThread>
#include <cmath>

#include "fakescopeprocess.h"
#include "framesource.h"
#include "scpiblock.h"
#include "scpipreamble.h"

namespace {

// The first frames of Name + Query, or the problem that stopped them;
// each Next has its own timeout, however long ago Open was.
std::string Read(const std::string &Address, std::vector<TFrame> &Frames, int Count = 2,
                 unsigned long Pause = 0)
{
  std::string problem;
  auto source = MakeFrameSource(Address, problem);
  if (!source || !source->Open(problem))
    return problem;
  QThread::msleep(Pause);
  Frames.resize(static_cast<std::size_t>(Count));
  for (TFrame &frame : Frames)
    if (!source->Next(frame, problem))
      return problem;
  EXPECT_EQ(source->Identity().rfind("VANTREL,FAKESCOPE-", 0), 0u) << source->Identity();
  return "";
}

}  // namespace

TEST(ScpiSource, GivesTheSimulatedSignals)
{
  // A = 0.1 + 0.8 sin(wt + 0.2), B = -0.05 + 0.9 cos wt, 1000 periods per
  // second sampled at 100 kHz; +-1.25 V over the codes, so the reading is
  // within half of 2.5 V / 2^bits.
  const struct
  {
    const char *Dialect, *Format;
    QStringList Faults;
    int Points;
    bool Swapped;
  } rows[] = {
      {"wav", "word", {}, 200, false},
      {"wav", "byte", {}, 200, false},
      {"curve", "word", {}, 200, false},
      {"curve", "byte", {}, 200, false},
      {"wav", "word", {}, 100, true},
      {"wav", "word", {"--pieces", "1", "--delay", "1"}, 20, false},
      {"curve", "byte", {"--pieces", "16", "--delay", "2"}, 40, true},
  };
  for (const auto &row : rows) {
    TFake fake(QStringList{"--dialect",  row.Dialect, "--format",
                           row.Format,   "--points",  QString::number(row.Points),
                           "--rate",     "1e5",       "--speed",
                           "1000",       "--gain-a",  "0.8",
                           "--offset-a", "0.1",       "--phase-a",
                           "0.2",        "--gain-b",  "0.9",
                           "--offset-b", "-0.05"} +
               row.Faults);
    const std::string query =
        std::string("?dialect=") + row.Dialect + (row.Swapped ? "&channels=2,1" : "");
    std::vector<TFrame> frames;
    ASSERT_EQ(Read(fake.Name + query, frames), "") << row.Dialect << row.Format;
    const double tolerance = 1.25 / (QString(row.Format) == "word" ? 32768 : 128) / 2 + 1e-9;
    for (std::size_t f = 0; f < frames.size(); ++f) {
      const TFrame &frame = frames[f];
      ASSERT_EQ(frame.Size(), static_cast<std::size_t>(row.Points));
      ASSERT_EQ(frame.B.size(), frame.A.size());
      EXPECT_NEAR(frame.TimeStep, 1e-5, 1e-15);
      // The second frame goes on where the first ended.
      EXPECT_NEAR(frame.TimeOrigin, f * row.Points * 1e-5, 1e-12);
      for (int i = 0; i < row.Points; ++i) {
        const double wt = 2 * M_PI * 1000 * (static_cast<int>(f) * row.Points + i) * 1e-5;
        const double a = 0.1 + 0.8 * std::sin(wt + 0.2), b = -0.05 + 0.9 * std::cos(wt);
        ASSERT_NEAR(frame.A[i], row.Swapped ? b : a, tolerance) << row.Dialect << row.Format << i;
        ASSERT_NEAR(frame.B[i], row.Swapped ? a : b, tolerance) << row.Dialect << row.Format << i;
      }
    }
  }
}

TEST(ScpiSource, NamesEveryFailure)
{
  // Where nobody listens: a port just freed.
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
  const std::string nobody = "scpi://127.0.0.1:" + std::to_string(server.serverPort());
  server.close();
  std::vector<TFrame> frames;
  EXPECT_EQ(Read(nobody, frames), nobody + ": connection refused");
  EXPECT_TRUE(frames.empty());

  const struct
  {
    QStringList Arguments;
    const char *Query, *Message;
  } rows[] = {
      {{"--late", "1000"}, "?timeout=0.2", ": no answer to ':WAV:DATA?' within 0.2 s"},
      {{"--malformed", "preamble"},
       "",
       ": malformed preamble: expected ten comma-separated numbers, got '-113,\"Undefined "
       "header\"'"},
      {{"--malformed", "preamble", "--dialect", "curve"},
       "?dialect=curve",
       ": malformed preamble: expected NR_PT, XINCR, YMULT, YOFF and YZERO, got '-113,\"Undefined "
       "header\"'"},
      {{"--malformed", "block", "--dialect", "curve"},
       "?dialect=curve",
       ": malformed block header: expected a digit 1-9 after '#', got '#0'"},
      {{"--hang-up", "100", "--pieces", "16"},
       "",
       ": the instrument closed the connection after 100 of 400 bytes of the block"},
      {{"--format", "byte"}, "?channels=1,3&timeout=0.3", ""},
  };
  for (const auto &row : rows) {
    TFake fake(QStringList{"--points", "200"} + row.Arguments);
    frames.clear();
    EXPECT_EQ(Read(fake.Name + row.Query, frames, 1, *row.Message ? 0 : 350),
              *row.Message ? fake.Name + row.Message : "");
  }
  for (const char *setting : {"dialect=scope", "channels=2,2", "channels=1,5", "timeout=0",
                              "timeout=-1", "timeout=soon", "speed=2"}) {
    std::string problem;
    EXPECT_FALSE(MakeFrameSource(std::string("scpi://scope.lab?") + setting, problem));
    EXPECT_EQ(problem.rfind("scpi://scope.lab:5025: ", 0), 0u) << problem;
  }
}

TEST(ScpiSource, ReadsWrittenReplies)
{
  TBlockHeader header = ReadBlockHeader("#3123abc", 8);
  EXPECT_EQ(header.State, THeaderState::Complete);
  EXPECT_EQ(header.Size, 5u);
  EXPECT_EQ(header.Length, 123u);
  EXPECT_EQ(ReadBlockHeader("#312", 4).State, THeaderState::Incomplete);
  EXPECT_EQ(ReadBlockHeader("X#2", 3).Problem, "malformed block header: expected '#', got 'X'");
  EXPECT_EQ(ReadBlockHeader("#2a\n", 4).Problem,
            "malformed block header: expected 2 digits of length, got '#2a'");

  const char bytes[] = "\x01\x80\xff\xfe";
  EXPECT_EQ(DecodeCodes(bytes, 4, {2, false, false}), (std::vector<long>{32769, 65279}));
  EXPECT_EQ(DecodeCodes(bytes, 4, {2, true, true}), (std::vector<long>{384, -2}));
  EXPECT_EQ(DecodeCodes(bytes, 3, {1, true, false}), (std::vector<long>{1, -128, -1}));

  // (code - y origin - y reference) * y increment; x origin at x reference.
  TPreamble p;
  std::string problem;
  ASSERT_TRUE(ParseWavPreamble("1,0,3,1,+2.0E-6, -1.0e-3,5,0.01,-20,32768", p, problem)) << problem;
  EXPECT_EQ(p.Points, 3u);
  EXPECT_EQ(p.Format.Bytes, 2);
  EXPECT_DOUBLE_EQ(p.TimeOrigin, -1.01e-3);
  EXPECT_DOUBLE_EQ(p.Volts(32798), 0.5);
  ASSERT_TRUE(
      ParseCurvePreamble(":WFMO:BYT_NR 1;WFID \"Ch1; DC\";NR_PT 4;XINCR 4e-7;:WFMO:XZERO "
                         "1e-3;PT_OFF 10;YMULT 0.02;YOFF 10;YZERO 0.5",
                         p, problem))
      << problem;
  EXPECT_EQ(p.Points, 4u);
  EXPECT_TRUE(p.Format.Signed && p.Format.Bytes == 1);
  EXPECT_DOUBLE_EQ(p.TimeOrigin, 0.996e-3);
  EXPECT_DOUBLE_EQ(p.Volts(-40), -0.5);
  EXPECT_FALSE(ParseWavPreamble("2,0,3,1,1,0,0,1,0,0", p, problem));
  EXPECT_EQ(problem, "malformed preamble: expected format 0 (BYTE) or 1 (WORD), got '2'");
  EXPECT_FALSE(
      ParseCurvePreamble("NR_PT 4;XINCR 1;YMULT 1;YOFF 0;" + std::string(50, '\x01'), p, problem));
  EXPECT_EQ(problem,
            "malformed preamble: expected NR_PT, XINCR, YMULT, YOFF and YZERO, got "
            "'NR_PT 4;XINCR 1;YMULT 1;YOFF 0;?????????...'");
}
