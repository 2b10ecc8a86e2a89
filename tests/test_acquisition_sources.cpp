// Frames from a capture file, replayed for ever, and from a sound card,
// here ALSA's file plugin replaying samples written by the test.
#include <gtest/gtest.h>
#include <QTemporaryDir>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>

#include "capturereader.h"
#include "framesource.h"

namespace {

std::unique_ptr<TFrameSource> Opened(const std::string &Address)
{
  std::string problem;
  auto source = MakeFrameSource(Address, problem);
  EXPECT_TRUE(source && source->Open(problem)) << problem;
  return source;
}

}  // namespace

// Frames of 1300 from the 2998 good rows of 3000: 1300, 1300, the last
// 398, then the start again; the samples are the reader's.
TEST(AcquisitionSourcesTest, CaptureFileInFramesLoops)
{
  const std::string path = VANTREL_EXAMPLES_DIR "/missing.csv";
  TCaptureReadOptions skip;
  skip.SkipBadRows = true;
  TCapture capture;
  std::string message;
  ASSERT_TRUE(ReadCaptureFile(path, skip, capture, message)) << message;
  ASSERT_EQ(capture.Size(), 2998u);
  auto source = Opened("file:" + path + "?frame=1300&rate=1000&skip-bad-rows=1");
  ASSERT_TRUE(source);
  EXPECT_EQ(source->Identity(), path);
  const std::size_t firsts[] = {0, 1300, 2600, 0}, sizes[] = {1300, 1300, 398, 1300};
  for (int f = 0; f < 4; ++f) {
    TFrame frame;
    ASSERT_TRUE(source->Next(frame, message)) << message;
    ASSERT_EQ(frame.Size(), sizes[f]);
    EXPECT_DOUBLE_EQ(frame.TimeStep, 0.001);
    EXPECT_DOUBLE_EQ(frame.TimeOrigin, firsts[f] * 0.001);
    for (std::size_t i = 0; i < frame.Size(); ++i) {
      ASSERT_EQ(frame.A[i], capture.A[firsts[f] + i]) << f << " " << i;
      ASSERT_EQ(frame.B[i], capture.B[firsts[f] + i]) << f << " " << i;
    }
  }
  source = Opened("file:" + path + "?skip-bad-rows=1");
  TFrame frame;
  ASSERT_TRUE(source && source->Next(frame, message) && source->Next(frame, message));
  EXPECT_EQ(frame.A, capture.A);
  EXPECT_EQ(frame.TimeStep, 0.0);
  source = MakeFrameSource("file:" + path, message);
  ASSERT_TRUE(source);
  EXPECT_FALSE(source->Open(message));
  EXPECT_EQ(message, path + ":3: column 1 is '---', not a number");
}

TEST(AcquisitionSourcesTest, BadAddressesAreRefused)
{
  const struct
  {
    const char *Address, *Problem;
  } cases[] = {
      {"file:", "file: no capture file: give file:PATH"},
      {"file:c.csv?frame=0",
       "file:c.csv: frame must be a whole number from 1 to 10000000, not '0'"},
      {"file:c.csv?rate=abc",
       "file:c.csv: rate must be a positive number of samples per second, not 'abc'"},
      {"file:c.csv?rate=-5",
       "file:c.csv: rate must be a positive number of samples per second, not '-5'"},
      {"file:c.csv?decimal-comma=yes", "file:c.csv: decimal-comma must be 1 or 0, not 'yes'"},
      {"alsa:", "alsa: no sound card: give alsa:DEVICE, such as alsa:default"},
      {"alsa:hw:1,0?rate=48000.5",
       "alsa:hw:1,0: rate must be a whole number from 1 to 1000000, not '48000.5'"},
      {"alsa:default?timeout=0",
       "alsa:default: timeout must be a positive number of seconds, not '0'"},
      {"alsa:default?rat=8000", "alsa:default: unknown setting 'rat': give rate, frame or timeout"},
  };
  for (const auto &c : cases) {
    std::string problem;
    EXPECT_FALSE(MakeFrameSource(c.Address, problem)) << c.Address;
    EXPECT_EQ(problem, c.Problem);
  }
}

// A sine and a cosine of unequal amplitudes, 10 degrees out of quadrature,
// the first pair at both ends of the 16-bit range.
TEST(AcquisitionSourcesTest, SoundCardFramesAreTheCodesInFullScale)
{
  QTemporaryDir dir;
  const std::string raw = dir.filePath("signals.raw").toStdString();
  const std::string config = dir.filePath("asound.conf").toStdString();
  std::vector<std::int16_t> codes;
  for (int i = 0; i < 2400; ++i) {
    const double angle = 2 * M_PI * i / 96;
    codes.push_back(i == 0 ? -32768
                           : static_cast<std::int16_t>(std::lround(30000 * std::sin(angle))));
    codes.push_back(
        i == 0 ? 32767
               : static_cast<std::int16_t>(std::lround(27000 * std::cos(angle + 10 * M_PI / 180))));
  }
  std::ofstream(raw, std::ios::binary)
      .write(reinterpret_cast<const char *>(codes.data()), 2 * codes.size());
  std::ofstream(config)
      << "pcm.replay {\n  type file\n  slave.pcm { type null }\n  file \"/dev/null\"\n"
      << "  infile \"" << raw << "\"\n  format \"raw\"\n}\n";
  // Before the first ALSA call, which loads its configuration once.
  setenv("ALSA_CONFIG_PATH", config.c_str(), 1);
  auto source = Opened("alsa:replay?rate=8000&frame=1000");
  ASSERT_TRUE(source);
  ASSERT_EQ(source->Notes().size(), 1u);
  EXPECT_NE(source->Notes()[0].find("DC"), std::string::npos);
  EXPECT_FALSE(source->MeasuresOffsets());
  std::string problem;
  for (std::size_t f = 0; f < 2; ++f) {
    TFrame frame;
    ASSERT_TRUE(source->Next(frame, problem)) << problem;
    ASSERT_EQ(frame.Size(), 1000u);
    EXPECT_EQ(frame.Units, "FS");
    EXPECT_EQ(frame.TimeStep, 1.0 / 8000);
    for (std::size_t i = 0; i < 1000; ++i) {
      ASSERT_EQ(frame.A[i], codes[2 * (1000 * f + i)] / 32768.0) << i;
      ASSERT_EQ(frame.B[i], codes[2 * (1000 * f + i) + 1] / 32768.0) << i;
    }
  }
  source = MakeFrameSource("alsa:nosuch", problem);
  ASSERT_TRUE(source);
  EXPECT_FALSE(source->Open(problem));
  EXPECT_EQ(problem, "alsa:nosuch: cannot open the sound card: No such file or directory");
}
