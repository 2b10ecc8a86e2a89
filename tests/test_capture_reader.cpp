// Reading captures as oscilloscopes and spreadsheets write them, and
// naming the line of every row that cannot be read.
#include <gtest/gtest.h>
#include <QBuffer>

#include "capturereader.h"

namespace {

struct TRead
{
  bool Ok = false;
  TCapture Capture;
  QString Message;
};

TRead Read(const QByteArray &Text, TCaptureReadOptions Options = {})
{
  QBuffer buffer;
  buffer.setData(Text);
  buffer.open(QIODevice::ReadOnly);
  TRead read;
  read.Ok = ReadCapture(buffer, "c.csv", Options, read.Capture, read.Message);
  return read;
}

TCaptureReadOptions Columns(int A, int B, bool Skip = false)
{
  TCaptureReadOptions options;
  options.Columns = {A, B};
  options.SkipBadRows = Skip;
  return options;
}

}  // namespace

TEST(CaptureReaderTest, DelimitersHeadersAndLineEndsAsExportsWriteThem)
{
  const struct
  {
    QByteArray Text;
    std::vector<double> A, B;
    std::vector<std::uint32_t> Lines;
    long long Header;
  } cases[] = {
      {"1,2\n3,4", {1, 3}, {2, 4}, {1, 2}, 0},
      // Byte-order mark, CRLF, a comment and an empty line.
      {"\xEF\xBB\xBF# scope\r\n\r\n-1.5;2e-3\r\n+3.25 ; 4\r\n", {-1.5, 3.25}, {2e-3, 4}, {3, 4}, 0},
      // Time first: channels in columns 2 and 3; three header lines.
      {"Model,X\nTime,CH1,CH2\ns,V,V\n0,2.5,2.6,9\n1e-6,2.4,2.7,9\n",
       {2.5, 2.4},
       {2.6, 2.7},
       {4, 5},
       3},
      {"t\ta\tb\n0.1\t1\t2\n0.2\t3\t4\n", {1, 3}, {2, 4}, {2, 3}, 1},
      {"  0   1  2\n\t1 3   4 \n", {1, 3}, {2, 4}, {1, 2}, 0},
  };
  for (const auto &c : cases) {
    const TRead read = Read(c.Text);
    ASSERT_TRUE(read.Ok) << c.Text.toStdString() << read.Message.toStdString();
    EXPECT_EQ(read.Capture.A, c.A) << c.Text.toStdString();
    EXPECT_EQ(read.Capture.B, c.B) << c.Text.toStdString();
    EXPECT_EQ(read.Capture.Line, c.Lines) << c.Text.toStdString();
    EXPECT_EQ(read.Capture.HeaderLines, c.Header) << c.Text.toStdString();
  }
  // Chosen columns, in either order; a header numeric elsewhere is still
  // a header.
  const TRead chosen = Read("1,2,3,4\nx,5,y,6\n7,8,9,10\n", Columns(4, 2));
  ASSERT_TRUE(chosen.Ok);
  EXPECT_EQ(chosen.Capture.A, (std::vector<double>{4, 6, 10}));
  EXPECT_EQ(chosen.Capture.B, (std::vector<double>{2, 5, 8}));
  const TRead header = Read("1,a,b\n2,3,4\n");
  EXPECT_EQ(header.Capture.HeaderLines, 1);
  EXPECT_EQ(header.Capture.A, std::vector<double>{3});
}

TEST(CaptureReaderTest, BadRowsNameTheirLineOrAreSkippedAndCounted)
{
  const struct
  {
    QByteArray Text;
    const char *Message;
  } cases[] = {
      {"a,b\n1,2\n3,x\n", "c.csv:3: column 2 is 'x', not a number"},
      {"1,2\n3,nan\n", "c.csv:2: column 2 holds 'nan', not a finite number"},
      {"1,2\n-inf,4\n", "c.csv:2: column 1 holds '-inf', not a finite number"},
      {"1,2\n1e999,4\n", "c.csv:2: column 1 holds '1e999', beyond the range of a double"},
      {"0,1,2\n0,3\n", "c.csv:2: the row has 2 columns, so column 3 is missing"},
      {"1,2\n3,4\x01\n", "c.csv:2: column 2 is '4?', not a number"},
      {"1,2\n3,4.5.6\n", "c.csv:2: column 2 is '4.5.6', not a number"},
      {"1;2\n3,4\n", "c.csv:2: the row has 1 column, so column 2 is missing"},
      {"", "c.csv is empty: no data rows"},
      {"# only\n\n", "c.csv is empty: no data rows"},
      {"time,a,b\nx,y,z\n", "c.csv holds no data rows, only 2 header lines"},
  };
  for (const auto &c : cases) {
    const TRead read = Read(c.Text);
    EXPECT_FALSE(read.Ok) << c.Text.toStdString();
    EXPECT_EQ(read.Message.toStdString(), c.Message);
  }
  const TRead missing = Read("h\n1,2,3\n4,5,6\n", Columns(2, 5));
  EXPECT_EQ(missing.Message.toStdString(),
            "c.csv:2: column 5 does not exist: the data has 3 columns");

  const TRead skipped = Read("a,b\n1,2\n3,x\nnan,1\n5,6\n7\n", Columns(0, 0, true));
  ASSERT_TRUE(skipped.Ok);
  EXPECT_EQ(skipped.Capture.BadRows, 3);
  EXPECT_EQ(skipped.Capture.HeaderLines, 1);
  EXPECT_EQ(skipped.Capture.Line, (std::vector<std::uint32_t>{2, 5}));
}

TEST(CaptureReaderTest, LongLinesAndChunkBoundariesReadWhole)
{
  // A 3 MB header line spans several read chunks; rows straddle them too.
  QByteArray text = QByteArray(3 << 20, 'h') + "\n";
  for (int i = 0; i < 200000; ++i)
    text += QByteArray::number(i) + ",0.5," + QByteArray::number(-i) + "\r\n";
  const TRead read = Read(text);
  ASSERT_TRUE(read.Ok) << read.Message.toStdString();
  ASSERT_EQ(read.Capture.Size(), 200000u);
  EXPECT_EQ(read.Capture.HeaderLines, 1);
  EXPECT_EQ(read.Capture.A[123456], 0.5);
  EXPECT_EQ(read.Capture.B[123456], -123456.0);
  EXPECT_EQ(read.Capture.Line.back(), 200001u);
}
