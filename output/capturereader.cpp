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

// Fills Out with the first Out.size() fields of a trimmed line, each
// trimmed; returns how many fields there are, counting no further. A
// field in double quotes may hold the delimiter.
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
      std::size_t from = position;
      while (from < Line.size() && IsBlank(Line[from]))
        ++from;
      if (from < Line.size() && Line[from] == '"') {
        const std::size_t close = Line.find('"', from + 1);
        if (close != std::string_view::npos)
          from = close;
      }
      const std::size_t end = std::min(Line.find(Delimiter, from), Line.size());
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
  OutOfRange,
  Overrange
};

// Instruments write a clipped sample as a huge number (9.9E37); no real
// signal comes near it.
const double OverrangeMarker = 1e30;
// Longer fields are no numbers an instrument writes.
const std::size_t MaximumNumberLength = 64;

TNumber ParsePlain(std::string_view Field, double &Value)
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
  if (!std::isfinite(Value))
    return TNumber::NotFinite;
  return std::fabs(Value) >= OverrangeMarker ? TNumber::Overrange : TNumber::Ok;
}

// A field as the data rows write it: perhaps in double quotes, perhaps
// with a decimal comma.
TNumber ParseValue(std::string_view Field, bool DecimalComma, double &Value)
{
  if (Field.size() >= 2 && Field.front() == '"' && Field.back() == '"')
    Field = Trimmed(Field.substr(1, Field.size() - 2));
  if (!DecimalComma || Field.find(',') == std::string_view::npos)
    return ParsePlain(Field, Value);
  if (Field.size() > MaximumNumberLength)
    return TNumber::NotNumber;
  char buffer[MaximumNumberLength];
  std::replace_copy(Field.begin(), Field.end(), buffer, ',', '.');
  return ParsePlain(std::string_view(buffer, Field.size()), Value);
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
    case TNumber::Overrange:
      return where + QString("holds '%1', an instrument's overrange marker").arg(Shown(Field));
    case TNumber::Ok:
      break;
  }
  return QString();
}

// A line before the data start that may be the first data row: every
// non-empty field a number.
struct TCandidate
{
  std::string Text;
  long long Line = 0;
  char Delimiter = ' ';
  int Fields = 0;
};

// Rows that agree with the one before them before the data is taken to
// start: a header line that happens to be numeric ("Vertical Offset,0,0"
// between text lines) is not followed by rows of its own shape.
const std::size_t ConfirmingRows = 3;

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
  bool IsDataRow(std::string_view Text, TCandidate &Row);
  bool StartData();
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
  bool d_decimal_comma = false;
  int d_last_column = 0;
  std::vector<std::string_view> d_fields;
  // Data rows of one shape waiting for their confirmation.
  std::vector<TCandidate> d_candidates;
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

// Whether every non-empty field is a number with one of the delimiters
// the line holds (tab, semicolon, comma, in that order, then blanks); a
// delimiter other than the comma allows a decimal comma. A trailing
// delimiter leaves an empty last field, which does not count.
bool TCaptureParser::IsDataRow(std::string_view Text, TCandidate &Row)
{
  std::vector<std::string_view> fields(
      std::count(Text.begin(), Text.end(), ' ') + std::count(Text.begin(), Text.end(), '\t') +
      std::count(Text.begin(), Text.end(), ';') + std::count(Text.begin(), Text.end(), ',') + 1);
  for (char delimiter : {'\t', ';', ',', ' '}) {
    if (delimiter != ' ' && Text.find(delimiter) == std::string_view::npos)
      continue;
    if (delimiter == ',' && d_options.DecimalComma)
      continue;
    int count = SplitFields(Text, delimiter, fields);
    if (count > 1 && fields[count - 1].empty())
      --count;
    const bool numeric = std::all_of(fields.begin(), fields.begin() + count, [&](auto Field) {
      double value;
      const TNumber kind = ParseValue(Field, delimiter != ',', value);
      return Field.empty() || kind != TNumber::NotNumber;
    });
    if (numeric) {
      Row = {std::string(Text), d_line, delimiter, count};
      return true;
    }
  }
  return false;
}

// Until the data start, lines are a header: the data start at the first
// data row that the next rows confirm with the same shape.
bool TCaptureParser::HeaderLine(std::string_view Text)
{
  TCandidate row;
  if (!IsDataRow(Text, row)) {
    d_capture.HeaderLines += static_cast<long long>(d_candidates.size()) + 1;
    d_candidates.clear();
    return true;
  }
  if (!d_candidates.empty() && (row.Fields != d_candidates.front().Fields ||
                                row.Delimiter != d_candidates.front().Delimiter)) {
    d_capture.HeaderLines += static_cast<long long>(d_candidates.size());
    d_candidates.clear();
  }
  d_candidates.push_back(std::move(row));
  return d_candidates.size() > ConfirmingRows ? StartData() : true;
}

// The candidates are the first data rows: they fix the delimiter, the
// decimal separator and, by default, the columns.
bool TCaptureParser::StartData()
{
  const TCandidate &first = d_candidates.front();
  TCaptureColumns columns = d_options.Columns;
  if (columns.A == 0) {
    if (first.Fields < 2) {
      d_capture.HeaderLines += static_cast<long long>(d_candidates.size());
      d_candidates.clear();
      return true;
    }
    columns = first.Fields == 2 ? TCaptureColumns{1, 2} : TCaptureColumns{2, 3};
  }
  const int last = std::max(columns.A, columns.B);
  if (first.Fields < last) {
    d_line = first.Line;
    return Fail(QString("column %1 does not exist: the data has %2 column%3")
                    .arg(last)
                    .arg(first.Fields)
                    .arg(first.Fields == 1 ? "" : "s"));
  }
  d_in_data = true;
  d_delimiter = first.Delimiter;
  d_decimal_comma = d_delimiter != ',';
  d_last_column = last;
  d_capture.Columns = columns;
  d_fields.resize(last);
  const long long line = d_line;
  for (const TCandidate &row : std::vector<TCandidate>(std::move(d_candidates))) {
    d_line = row.Line;
    if (!DataLine(row.Text))
      return false;
  }
  d_candidates.clear();
  d_line = line;
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
    const TNumber kind = ParseValue(field, d_decimal_comma, value[c]);
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
  // A short file: the rows there are confirm the first.
  if (!d_in_data && !d_candidates.empty() && !StartData())
    return false;
  if (d_in_data)
    return true;
  if (d_capture.HeaderLines == 0)
    d_message = QString("%1 is empty: no data rows").arg(d_name);
  else
    d_message = QString("%1 holds no data rows, only %2 header line%3")
                    .arg(d_name)
                    .arg(d_capture.HeaderLines)
                    .arg(d_capture.HeaderLines == 1 ? "" : "s");
  return false;
}

// Why the start of a file is no text capture; empty when it may be one.
// UTF-16 puts a zero byte beside every ASCII character (with or without a
// byte-order mark); any other zero byte marks a binary file.
QString EncodingProblem(const char *Data, std::size_t Size)
{
  const std::size_t n = std::min<std::size_t>(Size, 4096);
  const auto starts = [&](const char *Mark) { return n >= 2 && std::memcmp(Data, Mark, 2) == 0; };
  std::size_t zeros[2] = {0, 0};
  for (std::size_t i = 0; i < n; ++i)
    zeros[i % 2] += Data[i] == '\0';
  if (starts("\xFF\xFE") || starts("\xFE\xFF") ||
      (n >= 4 && std::max(zeros[0], zeros[1]) * 10 >= n / 2 * 9))
    return "UTF-16; save it as UTF-8";
  if (zeros[0] + zeros[1] > 0)
    return "not a text file";
  return QString();
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
  bool at_end = false, any_line = false, checked = false;
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
      any_line = true;
      continue;
    }
    if (at_end) {
      // A last line without its line end, after lines with theirs, was cut
      // off while the file was written.
      if (begin < end && any_line)
        Capture.LastLineCut = true;
      else if (begin < end && !parser.Line(std::string_view(first, end - begin))) {
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
    if (!checked && end > 0) {
      checked = true;
      const QString problem = EncodingProblem(buffer.data(), end);
      if (!problem.isEmpty()) {
        Message = QString("%1 is %2").arg(Name, problem);
        return false;
      }
    }
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
