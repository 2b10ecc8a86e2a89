// Reading captures as oscilloscopes and spreadsheets write them, and
// naming the line of every row that cannot be read.
#include <gtest/gtest.h>
#include <sstream>
#include <string>

#include "capturereader.h"

namespace {

struct TRead
{
  bool Ok = false;
  TCapture Capture;
  std::string Message;
};

TRead Read(const std::string &Text, TCaptureReadOptions Options = {})
{
  std::istringstream stream(Text);
  TRead read;
  read.Ok = ReadCapture(stream, "c.csv", Options, read.Capture, read.Message);
  return read;
}

TCaptureReadOptions Columns(int A, int B, bool Skip = false)
{
  TCaptureReadOptions options;
  options.Columns = {A, B, {}, {}};
  options.SkipBadRows = Skip;
  return options;
}

}  // namespace

// Delimiters, headers, line ends, decimal commas and quotes as exports
// and spreadsheets write them; the data start where rows of one shape
// follow each other.
TEST(CaptureReaderTest, ExportsAndSpreadsheetsReadAsTheyWriteThem)
{
  const struct
  {
    std::string Text;
    long long Header;
    std::vector<double> A, B;
    std::vector<std::uint32_t> Lines;  // empty: not checked
  } cases[] = {
      // clang-format off
      {"1,2\n3,4\n", 0, {1, 3}, {2, 4}, {1, 2}},
      // Byte-order mark, CRLF, a comment and an empty line.
      {"\xEF\xBB\xBF# scope\r\n\r\n-1.5;2e-3\r\n+3.25 ; 4\r\n", 0, {-1.5, 3.25}, {2e-3, 4}, {3, 4}},
      // Time first: channels in columns 2 and 3; three header lines.
      {"Model,X\nTime,CH1,CH2\ns,V,V\n0,2.5,2.6\n1e-6,2.4,2.7\n", 3, {2.5, 2.4}, {2.6, 2.7}, {4, 5}},
      {"t\ta\tb\n0.1\t1\t2\n0.2\t3\t4\n", 1, {1, 3}, {2, 4}, {2, 3}},
      {"  0   1  2\n\t1 3   4 \n", 0, {1, 3}, {2, 4}, {1, 2}},
      // Numbers in the first header line, units in the second; metadata
      // lines with numbers in them.
      {"x-axis,1,2\nsecond,Volt,Volt\n0,0.1,0.9\n1,0.2,0.8\n2,0.3,0.7\n3,0.4,0.6\n", 2,
       {0.1, 0.2, 0.3, 0.4}, {0.9, 0.8, 0.7, 0.6}, {3, 4, 5, 6}},
      {"Record Length,4\nSample Interval,1e-6\nVertical Scale,0.2,0.2\nVertical Offset,0,0\n"
       "Probe,10,10\nTime,CH1,CH2\n0,1,2\n1,3,4\n", 6, {1, 3}, {2, 4}, {7, 8}},
      // A lone numeric line between headers is a header too.
      {"Gain\n1.5,2.5,3.5\nTime,A,B\n0,1,2\n1,3,4\n2,5,6\n3,7,8\n9,9,9\n", 3,
       {1, 3, 5, 7, 9}, {2, 4, 6, 8, 9}, {}},
      // A trailing delimiter leaves an empty last field.
      {"t;a;b;\n0;1;2;\n1;3;4;\n", 1, {1, 3}, {2, 4}, {}},
      {"0;1;\n2;3;\n", 0, {0, 2}, {1, 3}, {}},
      // Two numbers between semicolons do not confirm two between commas.
      {"5;6\n1,2\n3,4\n5,6\n7,8\n", 1, {1, 3, 5, 7}, {2, 4, 6, 8}, {}},
      // Decimal commas beside semicolons, tabs and blanks, and quotes.
      {"Zeit;Kanal A;Kanal B\n0,000;0,25;-1,5\n0,001;1,75;2\n", 1, {0.25, 1.75}, {-1.5, 2}, {}},
      {"0,000\t0,25\t-1,5\n0,001\t1,75\t2,0\n", 0, {0.25, 1.75}, {-1.5, 2}, {}},
      {"0,000 0,25 -1,5\n0,001 1,75 2\n", 0, {0.25, 1.75}, {-1.5, 2}, {}},
      {"\"t\",\"a\",\"b\"\n\"0\",\"0.25\",\"-1.5\"\n\"1\",\"1.75\",\"2\"\n", 1, {0.25, 1.75}, {-1.5, 2}, {}},
      {"\"0,5\";\"0,25\"\n\"1,5\";\"1,75\"\n", 0, {0.5, 1.5}, {0.25, 1.75}, {}},
      {"\"0,12\",\"0,99\"\n\"-1,5\",\"2\"\n", 0, {0.12, -1.5}, {0.99, 2}, {}},
      // Old Mac line ends; only the columns read need be numbers; units.
      {"t,a,b\r0,1,2\r1,3,4\r", 1, {1, 3}, {2, 4}, {2, 3}},
      {"Time,A,B\n2026-12-07T10:00:00.001,0.5,-1\n2026-12-07T10:00:00.002,1.5,2\n", 1, {0.5, 1.5}, {-1, 2}, {}},
      {"12:00:00.001;0,5;1\nrun;1,5;2\n", 0, {0.5, 1.5}, {1, 2}, {}},
      {"Time,A,B\n0 s,0.12V,12 mV\n1 s,-0.5V,-3.5 mV\n", 1, {0.12, -0.5}, {12, -3.5}, {}},
      // A marker among the first rows is a bad row, not a header.
      {"1,2\n3,4\n---\n5,6\n7,8\n", 0, {}, {}, {}},
      {"1,2\n3,4\n---,9\n5,6\n7,8\n", 0, {}, {}, {}},
      // clang-format on
  };
  for (const auto &c : cases) {
    const TRead read = Read(c.Text, Columns(0, 0, c.A.empty()));
    if (c.A.empty()) {
      EXPECT_EQ(read.Capture.Line, (std::vector<std::uint32_t>{1, 2, 4, 5}));
      EXPECT_EQ(read.Capture.BadRows, 1);
      continue;
    }
    ASSERT_TRUE(read.Ok) << c.Text << read.Message;
    EXPECT_EQ(read.Capture.A, c.A) << c.Text;
    EXPECT_EQ(read.Capture.B, c.B) << c.Text;
    EXPECT_EQ(read.Capture.HeaderLines, c.Header) << c.Text;
    EXPECT_TRUE(c.Lines.empty() || read.Capture.Line == c.Lines) << c.Text;
  }
  // Chosen columns, in either order.
  const TRead chosen = Read("x,a,y,b\n1,2,3,4\n7,8,9,10\n", Columns(4, 2));
  ASSERT_TRUE(chosen.Ok);
  EXPECT_EQ(chosen.Capture.A, (std::vector<double>{4, 10}));
  EXPECT_EQ(chosen.Capture.B, (std::vector<double>{2, 8}));
  const TRead header = Read("1,a,b\n2,3,4\n");
  EXPECT_EQ(header.Capture.HeaderLines, 1);
  EXPECT_EQ(header.Capture.A, std::vector<double>{3});
  // Forced, the comma never separates columns.
  TCaptureReadOptions comma;
  comma.DecimalComma = true;
  const TRead forced = Read("0,5 0,25\n1,5 1,75\n", comma);
  ASSERT_TRUE(forced.Ok) << forced.Message;
  EXPECT_EQ(forced.Capture.A, (std::vector<double>{0.5, 1.5}));

  // The header line over the data names its columns, with a line of units
  // under names added to them; a line of another shape names none.
  const struct
  {
    const char *Text;
    std::vector<std::string> Names;
  } named[] = {
      {"Time,CH1,CH2\ns,V,V\n0,1,2\n", {"Time (s)", "CH1 (V)", "CH2 (V)"}},
      {"Model,X\nTime;\"SIN\";COS\n0;1;2\n", {"Time", "SIN", "COS"}},
      {"Time,index,COS,supply,SIN\n0,7,1,5,0\n", {"Time", "index", "COS", "supply", "SIN"}},
      {"Time,CH1\n0,1,2\n", {}},
  };
  for (const auto &c : named) {
    const TRead read = Read(c.Text, Columns(2, 3));
    EXPECT_EQ(read.Capture.ColumnNames, c.Names) << c.Text;
    EXPECT_EQ(read.Capture.ColumnCount, c.Names.empty() ? 3 : int(c.Names.size())) << c.Text;
  }
}

TEST(CaptureReaderTest, BadRowsNameTheirLineOrAreSkippedAndCounted)
{
  const struct
  {
    std::string Text;
    const char *Message;
  } cases[] = {
      {"a,b\n1,2\n1,2\n1,2\n1,2\n3,x\n", "c.csv:6: column 2 is 'x', not a number"},
      // A row that is not confirmed is a header, glitch or not.
      {"a,b\n1,2\n3,x\n", "c.csv holds no data rows, only 3 header lines"},
      {"1,2\n3,nan\n", "c.csv:2: column 2 holds 'nan', not a finite number"},
      {"1,2\n-inf,4\n", "c.csv:2: column 1 holds '-inf', not a finite number"},
      {"1,2\n1e999,4\n", "c.csv:2: column 1 holds '1e999', beyond the range of a double"},
      {"0,1,2\n0,1,2\n0,1,2\n0,1,2\n0,3\n",
       "c.csv:5: the row has 2 columns, so column 3 is missing"},
      {"1,2\n1,2\n1,2\n1,2\n3,4\x01\n", "c.csv:5: column 2 is '4?', not a number"},
      {"1,2\n1,2\n1,2\n1,2\n3,4.5.6\n", "c.csv:5: column 2 is '4.5.6', not a number"},
      // Shown as valid UTF-8: a mark at the start dropped, each byte of a
      // broken, overlong or surrogate form replaced, a cut form too.
      {"1;2\n1;2\n1;2\n1;2\n3;\xEF\xBB\xBF\xC2\xB5\xC0\xAF\xED\xA0\x80\xE2\x82\n",
       "c.csv:5: column 2 is "
       "'\xC2\xB5\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF"
       "\xBD', not a number"},
      {"1,2\n1,2\n1,2\n1,2\n3,xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\xC3\xA9z\n",
       "c.csv:5: column 2 is 'xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\xEF\xBF\xBD...', not a number"},
      {"1;2\n1;2\n1;2\n1;2\n3,4\n", "c.csv:5: the row has 1 column, so column 2 is missing"},
      {"1,2\n3,9.9E37\n", "c.csv:2: column 2 holds '9.9E37', an instrument's overrange marker"},
      {"1,2\n-1e30,4\n", "c.csv:2: column 1 holds '-1e30', an instrument's overrange marker"},
      {"", "c.csv is empty: no data rows"},
      {"# only\n\n", "c.csv is empty: no data rows"},
      {"time,a,b\nx,y,z\n", "c.csv holds no data rows, only 2 header lines"},
      {"1,2\n3,4\n---\n5,6\n7,8\n", "c.csv:3: the row has 1 column, so column 2 is missing"},
      {"1,2\n---,9\n5,6\n7,8\n9,9\n", "c.csv:2: column 1 is '---', not a number"},
      {"0.1 V,1 V\n0.2 V,2 mV\n", "c.csv:2: column 2 holds '2 mV': the rows above are in V"},
      {"Time,index,COS,SIN\n0,7,1,0\n",
       "c.csv has 4 columns (1 Time, 2 index, 3 COS, 4 SIN): say which hold channels A and B, "
       "e.g. --columns 4,3"},
      {"0,1,2,3\n", "c.csv has 4 columns: say which hold channels A and B, e.g. --columns 2,3"},
  };
  for (const auto &c : cases) {
    const TRead read = Read(c.Text);
    EXPECT_FALSE(read.Ok) << c.Text;
    EXPECT_EQ(read.Message, c.Message);
  }
  const TRead missing = Read("h\n1,2,3\n4,5,6\n", Columns(2, 5));
  EXPECT_EQ(missing.Message, "c.csv:2: column 5 does not exist: the data has 3 columns");

  // Columns by their header names, any case, with a units line under
  // them; the names it has when one is unknown.
  const struct
  {
    const char *A, *B, *Text;
    std::vector<double> Got;
    const char *Message;
  } named[] = {
      {"SIN", "cos", "Time;sin;I;COS\n0;1;9;2\n1;3;9;4\n", {1, 3}, ""},
      {"", "COS", "Time;sin;I;COS\n0;1;9;2\n1;3;9;4\n", {9, 9}, ""},
      {"ch2", "CH1 (V)", "Time,CH1,CH2\ns,V,V\n0,1,2\n1,3,4\n", {2, 4}, ""},
      {"SINE",
       "COS",
       "Time;sin;I;COS\n0;1;9;2\n",
       {},
       "c.csv has no column named 'SINE': its columns are 1 Time, 2 sin, 3 I, 4 COS"},
  };
  for (const auto &c : named) {
    TCaptureReadOptions options;
    options.Columns = {*c.A ? 0 : 3, 0, c.A, c.B};
    const TRead read = Read(c.Text, options);
    EXPECT_EQ(read.Capture.A, c.Got) << c.A;
    EXPECT_EQ(read.Message, c.Message);
  }

  const TRead skipped = Read("a,b\n1,2\n1,2\n1,2\n1,2\n3,x\nnan,1\n5,6\n7\n", Columns(0, 0, true));
  ASSERT_TRUE(skipped.Ok);
  EXPECT_EQ(skipped.Capture.BadRows, 3);
  EXPECT_EQ(skipped.Capture.HeaderLines, 1);
  EXPECT_EQ(skipped.Capture.Line, (std::vector<std::uint32_t>{2, 3, 4, 5, 8}));
}

TEST(CaptureReaderTest, FilesThatAreNoTextOrCutShortAreNamedAndLongLinesReadWhole)
{
  const std::string text = "t,a,b\n0,1,2\n1,3,4\n";
  std::string utf16le, utf16be;
  for (char c : text) {
    utf16le += c;
    utf16le += '\0';
    utf16be += '\0';
    utf16be += c;
  }
  EXPECT_EQ(Read("\xFF\xFE" + utf16le).Message, "c.csv is UTF-16; save it as UTF-8");
  EXPECT_EQ(Read(utf16le).Message, "c.csv is UTF-16; save it as UTF-8");
  EXPECT_EQ(Read(utf16be).Message, "c.csv is UTF-16; save it as UTF-8");
  EXPECT_EQ(Read(std::string("\x7f"
                             "ELF\x02\x01\x01\0\0\0",
                             10) +
                 text)
                .Message,
            "c.csv is not a text file");

  // A last line without its line end was cut off: left out, and said so.
  const TRead cut = Read(text + "2,5");
  ASSERT_TRUE(cut.Ok);
  EXPECT_EQ(cut.Capture.A, (std::vector<double>{1, 3}));
  EXPECT_TRUE(cut.Capture.LastLineCut);
  EXPECT_FALSE(Read(text).Capture.LastLineCut);
  // A file of one line without its end is whole.
  const TRead one = Read("1,2");
  EXPECT_FALSE(one.Capture.LastLineCut);
  EXPECT_EQ(one.Capture.A, std::vector<double>{1});

  // A 3 MB header line spans several read chunks; rows straddle them too.
  std::string big = std::string(3 << 20, 'h') + "\n";
  for (int i = 0; i < 200000; ++i)
    big += std::to_string(i) + ",0.5," + std::to_string(-i) + "\r\n";
  const TRead read = Read(big);
  ASSERT_TRUE(read.Ok) << read.Message;
  ASSERT_EQ(read.Capture.Size(), 200000u);
  EXPECT_EQ(read.Capture.HeaderLines, 1);
  EXPECT_EQ(read.Capture.A[123456], 0.5);
  EXPECT_EQ(read.Capture.B[123456], -123456.0);
  EXPECT_EQ(read.Capture.Line.back(), 200001u);
}

// Times from the first column when it rises through the file, or from
// the column chosen by number or name: seconds, with a unit or as clock
// times counted from the first row's midnight.
TEST(CaptureReaderTest, TimesComeFromTheFirstColumnOrTheChosenOne)
{
  const char *const four = "x,A,B,Stamp\n9,1,2,0.5\n8,3,4,0.75\n";
  const struct
  {
    const char *Text;
    int Column;
    const char *Name;
    std::vector<double> Time;
    const char *Message;
  } cases[] = {
      {"t,a,b\n0,1,2\n1e-6,3,4\n", 0, "", {0, 1e-6}, ""},
      // The first column unchosen: a time that stands still or is no
      // number is no time, and no fault.
      {"t,a,b\n0,1,2\n0,3,4\n", 0, "", {}, ""},
      {"12:00:00.001;0,5;1\nrun;1,5;2\n", 0, "", {}, ""},
      {"Time,A,B\n2026-12-07T23:59:59.5,1,2\n2026-12-08 00:00:00.25,3,4\n",
       0,
       "",
       {86399.5, 86400.25},
       ""},
      {"t;a;b\n12:00:01,5;1;2\n12:01:00;3;4\n", 0, "", {43201.5, 43260}, ""},
      {"t,a,b\n0.5 ms,1,2\n1.5 ms,3,4\n", 0, "", {0.5e-3, 1.5e-3}, ""},
      {four, 4, "", {0.5, 0.75}, ""},
      {four, 0, "STAMP", {0.5, 0.75}, ""},
      {four,
       0,
       "Time",
       {},
       "c.csv has no column named 'Time': its columns are 1 x, 2 A, 3 B, 4 Stamp"},
      {four, 2, "", {}, "c.csv: column 2 holds channel A, not the time"},
      {"x,A,B,T\n9,1,2,0.5\n8,3,4,0.5\n",
       4,
       "",
       {},
       "c.csv:3: column 4 holds the time '0.5', no later than the row before's"},
      {"x,A,B,T\n9,1,2,0.5\n8,3,4,soon\n", 4, "", {}, "c.csv:3: column 4 is 'soon', not a number"},
  };
  for (const auto &c : cases) {
    TCaptureReadOptions options = Columns(2, 3);
    options.TimeColumn = c.Column;
    options.TimeName = c.Name;
    const TRead read = Read(c.Text, options);
    EXPECT_EQ(read.Message, c.Message) << c.Text;
    if (!read.Ok)
      continue;
    ASSERT_EQ(read.Capture.Time.size(), c.Time.size()) << c.Text;
    for (std::size_t i = 0; i < c.Time.size(); ++i)
      EXPECT_NEAR(read.Capture.Time[i], c.Time[i], 1e-12) << c.Text;
    EXPECT_EQ(read.Capture.TimeColumn, c.Time.empty() ? 0 : c.Column ? c.Column : *c.Name ? 4 : 1);
  }
  // Skipped, a row without its time is counted and not kept.
  TCaptureReadOptions skip = Columns(2, 3, true);
  skip.TimeColumn = 4;
  const TRead skipped = Read("x,A,B,T\n9,1,2,0.5\n8,3,4,soon\n7,5,6,1\n", skip);
  EXPECT_EQ(skipped.Capture.BadRows, 1);
  EXPECT_EQ(skipped.Capture.A, (std::vector<double>{1, 5}));
  EXPECT_EQ(skipped.Capture.Time, (std::vector<double>{0.5, 1}));
}
