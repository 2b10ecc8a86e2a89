#include "capturereader.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

const std::size_t ChunkSize = 1 << 20;
// A longer line is no oscilloscope export; refusing it bounds the memory.
const std::size_t MaximumLineLength = 16 << 20;
const std::size_t MaximumReserve = std::size_t(1) << 27;
const int DefaultFieldsWanted = 3;
const std::size_t ShownLength = 32;

bool IsBlank(char C)
{
  return C == ' ' || C == '\t';
}

std::string_view Trimmed(std::string_view Text)
{
  while (!Text.empty() && IsBlank(Text.front()))
    Text.remove_prefix(1);
  while (!Text.empty() && IsBlank(Text.back()))
    Text.remove_suffix(1);
  return Text;
}

// Tab, semicolon or comma, whichever the line holds first in that order;
// a blank stands for runs of blanks.
char DetectDelimiter(std::string_view Line)
{
  for (char delimiter : {'\t', ';', ','})
    if (Line.find(delimiter) != std::string_view::npos)
      return delimiter;
  return ' ';
}

// Fills Out with the first Out.size() fields of a trimmed line, each
// trimmed; returns how many fields there are, counting no further.
int SplitFields(std::string_view Line, char Delimiter, std::vector<std::string_view> &Out)
{
  const int wanted = static_cast<int>(Out.size());
  int count = 0;
  std::size_t position = 0;
  while (count < wanted) {
    if (Delimiter == ' ') {
      while (position < Line.size() && IsBlank(Line[position]))
        ++position;
      if (position == Line.size())
        break;
      std::size_t end = position;
      while (end < Line.size() && !IsBlank(Line[end]))
        ++end;
      Out[count++] = Line.substr(position, end - position);
      position = end;
    } else {
      const std::size_t end = std::min(Line.find(Delimiter, position), Line.size());
      Out[count++] = Trimmed(Line.substr(position, end - position));
      if (end == Line.size())
        break;
      position = end + 1;
    }
  }
  return count;
}

enum class TNumber
{
  Ok,
  NotNumber,
  NotFinite,
  OutOfRange
};

TNumber ParseValue(std::string_view Field, double &Value)
{
  // Oscilloscopes write "+1.5E-03"; from_chars takes no plus sign.
  if (Field.size() > 1 && Field[0] == '+' && Field[1] != '-' && Field[1] != '+')
    Field.remove_prefix(1);
  const char *end = Field.data() + Field.size();
  const auto result = std::from_chars(Field.data(), end, Value);
  if (result.ec == std::errc::result_out_of_range && result.ptr == end)
    return TNumber::OutOfRange;
  if (result.ec != std::errc() || result.ptr != end)
    return TNumber::NotNumber;
  return std::isfinite(Value) ? TNumber::Ok : TNumber::NotFinite;
}

// A field as a message can show it: printable, on one line, short.
QString Shown(std::string_view Field)
{
  std::string text(Field.substr(0, ShownLength));
  for (char &c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
      c = '?';
  QString shown = QString::fromUtf8(text.data(), static_cast<int>(text.size()));
  if (Field.size() > ShownLength)
    shown += "...";
  return shown;
}

QString Problem(TNumber Kind, int Column, std::string_view Field)
{
  const QString where = QString("column %1 ").arg(Column);
  switch (Kind) {
    case TNumber::NotNumber:
      return where + QString("is '%1', not a number").arg(Shown(Field));
    case TNumber::NotFinite:
      return where + QString("holds '%1', not a finite number").arg(Shown(Field));
    case TNumber::OutOfRange:
      return where + QString("holds '%1', beyond the range of a double").arg(Shown(Field));
    case TNumber::Ok:
      break;
  }
  return QString();
}

class TCaptureParser
{
public:
  TCaptureParser(const QString &Name, const TCaptureReadOptions &Options, TCapture &Capture)
      : d_name(Name), d_options(Options), d_capture(Capture)
  {}

  // False once a line is refused; Message() says why.
  bool Line(std::string_view Text);
  bool Finish();
  const QString &Message() const { return d_message; }

private:
  bool HeaderLine(std::string_view Text);
  bool DataLine(std::string_view Text);
  bool Fail(const QString &What);
  bool BadRow(const QString &What);

  const QString d_name;
  const TCaptureReadOptions d_options;
  TCapture &d_capture;
  QString d_message;
  long long d_line = 0;
  bool d_in_data = false;
  char d_delimiter = ' ';
  int d_last_column = 0;
  std::vector<std::string_view> d_fields;
  // The first numeric header line too short for the chosen columns.
  long long d_short_line = 0;
  int d_short_fields = 0;
};

bool TCaptureParser::Fail(const QString &What)
{
  d_message = QString("%1:%2: %3").arg(d_name).arg(d_line).arg(What);
  return false;
}

bool TCaptureParser::BadRow(const QString &What)
{
  if (!d_options.SkipBadRows)
    return Fail(What);
  ++d_capture.BadRows;
  return true;
}

bool TCaptureParser::Line(std::string_view Text)
{
  ++d_line;
  if (d_line > UINT32_MAX)
    return Fail("more lines than a capture may have");
  if (d_line == 1 && Text.substr(0, 3) == "\xEF\xBB\xBF")
    Text.remove_prefix(3);
  if (!Text.empty() && Text.back() == '\r')
    Text.remove_suffix(1);
  Text = Trimmed(Text);
  if (Text.empty() || Text.front() == '#')
    return true;
  return d_in_data ? DataLine(Text) : HeaderLine(Text);
}

// Until a line is numeric in the chosen columns, lines are a header; the
// first numeric one fixes the delimiter and, by default, the columns.
bool TCaptureParser::HeaderLine(std::string_view Text)
{
  const char delimiter = DetectDelimiter(Text);
  TCaptureColumns columns = d_options.Columns;
  d_fields.resize(std::max({columns.A, columns.B, DefaultFieldsWanted}));
  const int count = SplitFields(Text, delimiter, d_fields);
  if (columns.A == 0) {
    if (count < 2) {
      ++d_capture.HeaderLines;
      return true;
    }
    columns = count == 2 ? TCaptureColumns{1, 2} : TCaptureColumns{2, 3};
  }
  const int last = std::max(columns.A, columns.B);
  double a = 0.0, b = 0.0;
  if (count < last) {
    const bool numeric =
        std::all_of(d_fields.begin(), d_fields.begin() + count, [](std::string_view f) {
          double v;
          return ParseValue(f, v) == TNumber::Ok;
        });
    if (numeric && d_short_line == 0) {
      d_short_line = d_line;
      d_short_fields = count;
    }
  } else if (ParseValue(d_fields[columns.A - 1], a) == TNumber::Ok &&
             ParseValue(d_fields[columns.B - 1], b) == TNumber::Ok) {
    d_in_data = true;
    d_delimiter = delimiter;
    d_last_column = last;
    d_capture.Columns = columns;
    d_fields.resize(last);
    d_capture.A.push_back(a);
    d_capture.B.push_back(b);
    d_capture.Line.push_back(static_cast<std::uint32_t>(d_line));
    return true;
  }
  ++d_capture.HeaderLines;
  return true;
}

bool TCaptureParser::DataLine(std::string_view Text)
{
  const int count = SplitFields(Text, d_delimiter, d_fields);
  if (count < d_last_column)
    return BadRow(QString("the row has %1 column%2, so column %3 is missing")
                      .arg(count)
                      .arg(count == 1 ? "" : "s")
                      .arg(d_last_column));
  double value[2];
  const int column[2] = {d_capture.Columns.A, d_capture.Columns.B};
  for (int c = 0; c < 2; ++c) {
    const std::string_view field = d_fields[column[c] - 1];
    const TNumber kind = ParseValue(field, value[c]);
    if (kind != TNumber::Ok)
      return BadRow(Problem(kind, column[c], field));
  }
  d_capture.A.push_back(value[0]);
  d_capture.B.push_back(value[1]);
  d_capture.Line.push_back(static_cast<std::uint32_t>(d_line));
  return true;
}

bool TCaptureParser::Finish()
{
  if (d_in_data)
    return true;
  if (d_short_line > 0) {
    const int last = std::max(d_options.Columns.A, d_options.Columns.B);
    d_message = QString("%1:%2: column %3 does not exist: the data has %4 column%5")
                    .arg(d_name)
                    .arg(d_short_line)
                    .arg(last)
                    .arg(d_short_fields)
                    .arg(d_short_fields == 1 ? "" : "s");
  } else if (d_capture.HeaderLines == 0) {
    d_message = QString("%1 is empty: no data rows").arg(d_name);
  } else {
    d_message = QString("%1 holds no data rows, only %2 header line%3")
                    .arg(d_name)
                    .arg(d_capture.HeaderLines)
                    .arg(d_capture.HeaderLines == 1 ? "" : "s");
  }
  return false;
}

}  // namespace

bool ReadCapture(QIODevice &Device, const QString &Name, const TCaptureReadOptions &Options,
                 TCapture &Capture, QString &Message)
{
  TCaptureParser parser(Name, Options, Capture);
  // Read in chunks, so a capture never sits in memory twice as text.
  // A small file gets a buffer of its own size; the rest 1 MiB pieces.
  std::size_t size = ChunkSize;
  if (!Device.isSequential())
    size = std::clamp<std::size_t>(Device.bytesAvailable() + 1, 4096, ChunkSize);
  std::vector<char> buffer(size);
  std::size_t begin = 0, end = 0;
  bool at_end = false;
  while (true) {
    const char *first = buffer.data() + begin;
    const void *newline = std::memchr(first, '\n', end - begin);
    if (newline) {
      const char *stop = static_cast<const char *>(newline);
      if (!parser.Line(std::string_view(first, stop - first))) {
        Message = parser.Message();
        return false;
      }
      begin = stop + 1 - buffer.data();
      continue;
    }
    if (at_end) {
      if (begin < end && !parser.Line(std::string_view(first, end - begin))) {
        Message = parser.Message();
        return false;
      }
      break;
    }
    if (begin > 0) {
      std::memmove(buffer.data(), first, end - begin);
      end -= begin;
      begin = 0;
    }
    if (end == buffer.size()) {
      if (buffer.size() >= MaximumLineLength) {
        Message = QString("%1: a line longer than %2 MB").arg(Name).arg(MaximumLineLength >> 20);
        return false;
      }
      buffer.resize(buffer.size() * 2);
    }
    const qint64 got = Device.read(buffer.data() + end, buffer.size() - end);
    if (got < 0) {
      Message = QString("cannot read %1: %2").arg(Name, Device.errorString());
      return false;
    }
    at_end = got == 0;
    end += got;
  }
  if (!parser.Finish()) {
    Message = parser.Message();
    return false;
  }
  return true;
}

bool ReadCaptureFile(const QString &Path, const TCaptureReadOptions &Options, TCapture &Capture,
                     QString &Message)
{
  QFile file;
  QString name = Path;
  if (Path == "-") {
    name = "standard input";
    if (!file.open(fileno(stdin), QIODevice::ReadOnly | QIODevice::Unbuffered)) {
      Message = QString("cannot read standard input: %1").arg(file.errorString());
      return false;
    }
  } else {
    const QFileInfo info(Path);
    if (!info.exists()) {
      Message = QString("cannot read %1: no such file").arg(Path);
      return false;
    }
    if (info.isDir()) {
      Message = QString("cannot read %1: it is a directory").arg(Path);
      return false;
    }
    file.setFileName(Path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
      Message = QString("cannot read %1: %2").arg(Path, file.errorString());
      return false;
    }
    // A row takes at least four bytes; reserving for that touches no
    // memory yet and spares the copies of a growing vector.
    if (info.isFile()) {
      const std::size_t rows = std::min(std::size_t(info.size()) / 4 + 16, MaximumReserve);
      Capture.A.reserve(rows);
      Capture.B.reserve(rows);
      Capture.Line.reserve(rows);
    }
  }
  return ReadCapture(file, name, Options, Capture, Message);
}
