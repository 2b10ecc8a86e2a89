#include "capturereader.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <istream>
#include <string_view>
#include <vector>

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

// A unit an instrument writes after its numbers: volts, amperes, seconds,
// hertz or watts, with an SI prefix or none.
bool IsUnit(std::string_view Text)
{
  for (std::string_view prefix : {"\xC2\xB5", "p", "n", "u", "m", "k", "M"})
    if (Text.size() > prefix.size() && Text.substr(0, prefix.size()) == prefix) {
      Text.remove_prefix(prefix.size());
      break;
    }
  return Text == "V" || Text == "A" || Text == "s" || Text == "Hz" || Text == "W";
}

// Unit, when given, takes a unit after the number ("0.12V", "12 mV"),
// empty when there is none.
TNumber ParsePlain(std::string_view Field, double &Value, std::string_view *Unit)
{
  // Oscilloscopes write "+1.5E-03"; from_chars takes no plus sign.
  if (Field.size() > 1 && Field[0] == '+' && Field[1] != '-' && Field[1] != '+')
    Field.remove_prefix(1);
  const char *end = Field.data() + Field.size();
  auto result = std::from_chars(Field.data(), end, Value);
  if (Unit) {
    *Unit = std::string_view();
    const std::string_view rest = Trimmed(std::string_view(result.ptr, end - result.ptr));
    if (result.ec != std::errc::invalid_argument && IsUnit(rest)) {
      *Unit = rest;
      end = result.ptr;
    }
  }
  if (result.ec == std::errc::result_out_of_range && result.ptr == end)
    return TNumber::OutOfRange;
  if (result.ec != std::errc() || result.ptr != end)
    return TNumber::NotNumber;
  if (!std::isfinite(Value))
    return TNumber::NotFinite;
  return std::fabs(Value) >= OverrangeMarker ? TNumber::Overrange : TNumber::Ok;
}

// Field without the double quotes round it, which allow a decimal comma
// between commas: DecimalComma becomes true when it had them.
std::string_view Unquoted(std::string_view Field, bool &DecimalComma)
{
  if (Field.size() >= 2 && Field.front() == '"' && Field.back() == '"') {
    Field = Trimmed(Field.substr(1, Field.size() - 2));
    DecimalComma = true;
  }
  return Field;
}

// A field as the data rows write it: perhaps in double quotes, perhaps
// with a decimal comma.
TNumber ParseValue(std::string_view Field, bool DecimalComma, double &Value,
                   std::string_view *Unit = nullptr)
{
  Field = Unquoted(Field, DecimalComma);
  if (!DecimalComma || Field.find(',') == std::string_view::npos)
    return ParsePlain(Field, Value, Unit);
  if (Field.size() > MaximumNumberLength)
    return TNumber::NotNumber;
  char buffer[MaximumNumberLength];
  std::replace_copy(Field.begin(), Field.end(), buffer, ',', '.');
  const TNumber kind = ParsePlain(std::string_view(buffer, Field.size()), Value, Unit);
  if (Unit && !Unit->empty())
    *Unit = Field.substr(Unit->data() - buffer, Unit->size());
  return kind;
}

// Whole numbers, each followed by its separator (T: a T or a blank), from
// the start of Text, which loses them.
bool ReadParts(std::string_view &Text, const char *Separators, int *Parts)
{
  for (int k = 0; Separators[k]; ++k) {
    const char *end = Text.data() + Text.size();
    const auto result = std::from_chars(Text.data(), end, Parts[k]);
    const char separator = Separators[k];
    if (result.ec != std::errc() || result.ptr == end ||
        (*result.ptr != separator && !(separator == 'T' && *result.ptr == ' ')))
      return false;
    Text.remove_prefix(result.ptr + 1 - Text.data());
  }
  return true;
}

// Days since 1970-01-01 of a date in the Gregorian calendar.
long long DaysFromCivil(int Year, int Month, int Day)
{
  const long long year = Year - (Month <= 2);
  const long long era = (year >= 0 ? year : year - 399) / 400;
  const long long of_era = year - era * 400;
  const long long of_year = (153 * (Month + (Month > 2 ? -3 : 9)) + 2) / 5 + Day - 1;
  return era * 146097 + of_era * 365 + of_era / 4 - of_era / 100 + of_year - 719468;
}

// A clock time "12:00:00.001", perhaps after a date "2026-12-07T": its
// day since 1970 and its seconds into that day.
bool ReadClock(std::string_view Field, bool DecimalComma, long long &Day, double &Seconds)
{
  Field = Unquoted(Field, DecimalComma);
  int date[3] = {1970, 1, 1}, clock[2];
  if (Field.find('-', 1) != std::string_view::npos &&
      (!ReadParts(Field, "--T", date) || date[1] < 1 || date[1] > 12 || date[2] < 1 ||
       date[2] > 31))
    return false;
  double second;
  if (!ReadParts(Field, "::", clock) || clock[0] < 0 || clock[0] > 23 || clock[1] < 0 ||
      clock[1] > 59 || ParseValue(Field, DecimalComma, second) != TNumber::Ok || second < 0.0 ||
      second >= 61.0)
    return false;
  Day = DaysFromCivil(date[0], date[1], date[2]);
  Seconds = clock[0] * 3600.0 + clock[1] * 60.0 + second;
  return true;
}

// Seconds a multiple of the unit "s" with one of the prefixes IsUnit takes.
double SecondsPer(std::string_view Unit)
{
  const std::pair<std::string_view, double> units[] = {
      {"s", 1.0},   {"ms", 1e-3},  {"us", 1e-6}, {"\xC2\xB5s", 1e-6},
      {"ns", 1e-9}, {"ps", 1e-12}, {"ks", 1e3},  {"Ms", 1e6}};
  for (const auto &[name, seconds] : units)
    if (Unit == name)
      return seconds;
  return 0.0;
}

const char *Plural(long long Count)
{
  return Count == 1 ? "" : "s";
}

bool IsContinuation(unsigned char Byte)
{
  return (Byte & 0xC0) == 0x80;
}

// Text in valid UTF-8, as the programs have always shown it: a byte-order
// mark at the start is dropped, and a byte that begins no whole, shortest,
// valid character becomes U+FFFD, the bytes after it read anew.
std::string ValidUtf8(std::string_view Text)
{
  const char *const replacement = "\xEF\xBF\xBD";
  if (Text.substr(0, 3) == "\xEF\xBB\xBF")
    Text.remove_prefix(3);
  std::string valid;
  std::size_t i = 0;
  while (i < Text.size()) {
    const unsigned char lead = Text[i];
    if (lead < 0x80) {
      valid += Text[i++];
      continue;
    }
    // Leads C0 and C1 only begin overlong forms; F5 and above, none.
    const int length = lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    bool whole = length > 0 && i + length <= Text.size();
    char32_t code = lead & (0x7F >> length);
    for (int k = 1; whole && k < length; ++k) {
      whole = IsContinuation(Text[i + k]);
      code = code << 6 | (Text[i + k] & 0x3F);
    }
    if (whole && code >= least[length] && !(code >= 0xD800 && code <= 0xDFFF) && code <= 0x10FFFF) {
      valid += Text.substr(i, length);
      i += length;
    } else {
      valid += replacement;
      ++i;
    }
  }
  return valid;
}

// A field as a message can show it: printable, on one line, short.
std::string Shown(std::string_view Field)
{
  std::string text(Field.substr(0, ShownLength));
  for (char &c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
      c = '?';
  std::string shown = ValidUtf8(text);
  if (Field.size() > ShownLength)
    shown += "...";
  return shown;
}

std::string Problem(TNumber Kind, int Column, std::string_view Field)
{
  const std::string where = "column " + std::to_string(Column) + " ";
  switch (Kind) {
    case TNumber::NotNumber:
      return where + "is '" + Shown(Field) + "', not a number";
    case TNumber::NotFinite:
      return where + "holds '" + Shown(Field) + "', not a finite number";
    case TNumber::OutOfRange:
      return where + "holds '" + Shown(Field) + "', beyond the range of a double";
    case TNumber::Overrange:
      return where + "holds '" + Shown(Field) + "', an instrument's overrange marker";
    case TNumber::Ok:
      break;
  }
  return std::string();
}

// A line before the data start that may be the first data row: the
// columns to be read are numbers. Fields 0 marks an odd line among such
// rows, which is a bad row if the rows after it go on.
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

// Fields of Text at Delimiter, the first Out.size() of them in Out; a
// trailing delimiter leaves an empty last field, which does not count.
int CountFields(std::string_view Text, char Delimiter, std::vector<std::string_view> &Out)
{
  int count = SplitFields(Text, Delimiter, Out);
  if (count > 1 && count <= static_cast<int>(Out.size()) && Out[count - 1].empty())
    --count;
  return count;
}

bool SameName(std::string_view X, std::string_view Y)
{
  const auto lower = [](unsigned char C) { return std::tolower(C); };
  return X.size() == Y.size() && std::equal(X.begin(), X.end(), Y.begin(),
                                            [&](char P, char Q) { return lower(P) == lower(Q); });
}

bool StartsWith(const std::string &Name, const char *Start)
{
  const std::size_t n = std::strlen(Start);
  return Name.size() >= n && SameName(std::string_view(Name).substr(0, n), Start);
}

class TCaptureParser
{
public:
  TCaptureParser(const std::string &Name, const TCaptureReadOptions &Options, TCapture &Capture)
      : d_name(Name), d_options(Options), d_capture(Capture)
  {}

  // False once a line is refused; Message() says why.
  bool Line(std::string_view Text);
  bool Finish();
  const std::string &Message() const { return d_message; }

private:
  bool HeaderLine(std::string_view Text);
  bool IsDataRow(std::string_view Text, TCandidate &Row);
  bool Given() const;
  bool HeaderNames(int Fields, char Delimiter, std::vector<std::string> &Names,
                   std::vector<std::string> &Units) const;
  TCaptureColumns ColumnsFor(int Fields, char Delimiter) const;
  void DropCandidates();
  bool StartData();
  void NameColumns(const TCandidate &First);
  std::string ColumnList() const;
  bool DataLine(std::string_view Text);
  int ColumnNamed(const std::string &Name, int Fields, char Delimiter) const;
  bool ChooseTimeColumn(const TCaptureColumns &Columns, int Fields, char Delimiter);
  bool ReadTime(double &Time, bool &Keep);
  void DropTime();
  bool Fail(const std::string &What);
  bool BadRow(const std::string &What);

  const std::string d_name;
  const TCaptureReadOptions d_options;
  TCapture &d_capture;
  std::string d_message;
  long long d_line = 0;
  bool d_in_data = false;
  char d_delimiter = ' ';
  bool d_decimal_comma = false;
  int d_last_column = 0;
  // The time column, 0 when none; an unchosen one is dropped at the first
  // row that it does not fit.
  int d_time_column = 0;
  bool d_time_chosen = false;
  // Clock times count from the first row's day, which keeps their
  // microseconds.
  long long d_first_day = 0;
  std::vector<std::string_view> d_fields;
  // The units of the first data row, which every row keeps.
  bool d_units_known = false;
  std::string d_unit[2];
  // The last two header lines, which may name the columns and give their
  // units.
  std::string d_header_before, d_last_header;
  // Data rows of one shape waiting for their confirmation, perhaps with
  // one odd line among them.
  std::vector<TCandidate> d_candidates;
  bool d_held = false;
};

bool TCaptureParser::Fail(const std::string &What)
{
  d_message = d_name + ':' + std::to_string(d_line) + ": " + What;
  return false;
}

bool TCaptureParser::BadRow(const std::string &What)
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

bool TCaptureParser::Given() const
{
  const TCaptureColumns &c = d_options.Columns;
  return c.A != 0 || c.B != 0 || !c.NameA.empty() || !c.NameB.empty();
}

// The columns a row of Fields fields is read from: given, found by their
// names in the header, or by default; 0 where none is known.
TCaptureColumns TCaptureParser::ColumnsFor(int Fields, char Delimiter) const
{
  if (!Given())
    return Fields == 2   ? TCaptureColumns{1, 2, {}, {}}
           : Fields >= 3 ? TCaptureColumns{2, 3, {}, {}}
                         : TCaptureColumns();
  TCaptureColumns columns = d_options.Columns;
  if (!columns.NameA.empty())
    columns.A = ColumnNamed(columns.NameA, Fields, Delimiter);
  if (!columns.NameB.empty())
    columns.B = ColumnNamed(columns.NameB, Fields, Delimiter);
  return columns;
}

// The first column the header names Name, with its unit or without; 0
// when none does.
int TCaptureParser::ColumnNamed(const std::string &Name, int Fields, char Delimiter) const
{
  std::vector<std::string> names, units;
  HeaderNames(Fields, Delimiter, names, units);
  for (int i = 0; i < static_cast<int>(names.size()); ++i) {
    const std::string full = units[i].empty() ? names[i] : names[i] + " (" + units[i] + ")";
    if (SameName(Name, names[i]) || SameName(Name, full))
      return i + 1;
  }
  return 0;
}

// The chosen time column, or else the first when it holds no channel.
bool TCaptureParser::ChooseTimeColumn(const TCaptureColumns &Columns, int Fields, char Delimiter)
{
  d_time_chosen = d_options.TimeColumn != 0 || !d_options.TimeName.empty();
  if (!d_time_chosen) {
    d_time_column = Columns.A != 1 && Columns.B != 1 ? 1 : 0;
    return true;
  }
  d_time_column = d_options.TimeName.empty() ? d_options.TimeColumn
                                             : ColumnNamed(d_options.TimeName, Fields, Delimiter);
  if (d_time_column == 0) {
    const std::string list = ColumnList();
    d_message = d_name + " has no column named '" + Shown(d_options.TimeName) + "': " +
                (list.empty() ? "no header line names its columns" : "its columns are " + list);
    return false;
  }
  if (d_time_column == Columns.A || d_time_column == Columns.B) {
    d_message = d_name + ": column " + std::to_string(d_time_column) + " holds channel " +
                (d_time_column == Columns.A ? "A" : "B") + ", not the time";
    return false;
  }
  return true;
}

// Whether the columns to be read are numbers, with one of the delimiters
// the line holds (tab, semicolon, comma, in that order, then blanks); a
// delimiter other than the comma allows a decimal comma. When the row
// lacks those columns, all its fields must be numbers.
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
    const int count = CountFields(Text, delimiter, fields);
    const auto number = [&](std::string_view Field) {
      double value;
      std::string_view unit;
      return Field.empty() ||
             ParseValue(Field, delimiter != ',', value, &unit) != TNumber::NotNumber;
    };
    const TCaptureColumns columns = ColumnsFor(count, delimiter);
    const bool numeric = columns.A > 0 && columns.B > 0 && std::max(columns.A, columns.B) <= count
                             ? number(fields[columns.A - 1]) && number(fields[columns.B - 1])
                             : std::all_of(fields.begin(), fields.begin() + count, number);
    if (numeric) {
      Row = {std::string(Text), d_line, delimiter, count};
      return true;
    }
  }
  return false;
}

void TCaptureParser::DropCandidates()
{
  d_capture.HeaderLines += static_cast<long long>(d_candidates.size());
  for (const TCandidate &row : d_candidates)
    if (row.Fields == 0) {
      d_header_before = std::move(d_last_header);
      d_last_header = row.Text;
    }
  d_candidates.clear();
  d_held = false;
}

// A line without a letter among data rows is an instrument's marker
// ("---", "***"), never a header, which names its columns.
bool WithoutLetters(std::string_view Text)
{
  return std::none_of(Text.begin(), Text.end(),
                      [](unsigned char C) { return std::isalpha(C) != 0; });
}

// Until the data start, lines are a header: the data start at the first
// data row that the next rows confirm with the same shape. A line of
// another shape after two such rows, or a marker after one, waits: if they
// go on, it is a bad row among them, a marker or a glitch, and no header.
bool TCaptureParser::HeaderLine(std::string_view Text)
{
  std::vector<std::string_view> fields(1);
  const bool shaped = !d_candidates.empty();
  const TCandidate front = shaped ? d_candidates.front() : TCandidate();
  const auto odd = [&](int Fields) {
    return !d_held && d_candidates.size() >= 2 && Fields != front.Fields;
  };
  TCandidate row;
  if (!IsDataRow(Text, row)) {
    fields.resize(front.Fields + 1);
    const bool marker = !d_held && shaped && WithoutLetters(Text);
    if (shaped && (odd(CountFields(Text, front.Delimiter, fields)) || marker)) {
      d_candidates.push_back({std::string(Text), d_line, front.Delimiter, 0});
      d_held = true;
      return true;
    }
    DropCandidates();
    d_header_before = std::move(d_last_header);
    d_last_header = Text;
    ++d_capture.HeaderLines;
    return true;
  }
  if (shaped && (row.Fields != front.Fields || row.Delimiter != front.Delimiter)) {
    if (odd(row.Delimiter == front.Delimiter ? row.Fields : 0)) {
      row.Fields = 0;
      d_candidates.push_back(std::move(row));
      d_held = true;
      return true;
    }
    DropCandidates();
  }
  d_candidates.push_back(std::move(row));
  return d_candidates.size() - d_held > ConfirmingRows ? StartData() : true;
}

// "1 Time, 2 CH1 (V), 3 CH2 (V)": the columns with their names.
std::string TCaptureParser::ColumnList() const
{
  std::string list;
  for (std::size_t i = 0; i < d_capture.ColumnNames.size(); ++i)
    list += (i > 0 ? ", " : "") + std::to_string(i + 1) + ' ' + d_capture.ColumnNames[i];
  return list;
}

// The candidates are the first data rows: they fix the delimiter, the
// decimal separator and, by default, the columns.
bool TCaptureParser::StartData()
{
  const TCandidate &first = d_candidates.front();
  if (!Given() && first.Fields < 2) {
    DropCandidates();
    return true;
  }
  // Known even when the columns asked for are not there, so that the
  // caller can offer the ones that are.
  d_capture.ColumnCount = first.Fields;
  NameColumns(first);
  const std::string list = ColumnList();
  // Of four columns or more, any two may be the channels.
  if (!Given() && first.Fields > 3) {
    std::string example = "2,3";
    const std::vector<std::string> &names = d_capture.ColumnNames;
    const auto named = [&](const char *Start) {
      return std::find_if(names.begin(), names.end(),
                          [&](const std::string &Name) { return StartsWith(Name, Start); }) -
             names.begin() + 1;
    };
    const long sine = named("sin"), cosine = named("cos");
    if (std::max(sine, cosine) <= static_cast<long>(names.size()))
      example = std::to_string(sine) + ',' + std::to_string(cosine);
    d_message = d_name + " has " + std::to_string(first.Fields) + " columns" +
                (list.empty() ? "" : " (" + list + ")") +
                ": say which hold channels A and B, e.g. --columns " + example;
    return false;
  }
  const TCaptureColumns columns = ColumnsFor(first.Fields, first.Delimiter);
  for (const auto &[name, column] : {std::pair(d_options.Columns.NameA, columns.A),
                                     std::pair(d_options.Columns.NameB, columns.B)})
    if (column == 0) {
      d_message = d_name + " has no column named '" + Shown(name) + "': " +
                  (list.empty() ? "no header line names its columns" : "its columns are " + list);
      return false;
    }
  if (columns.A == columns.B) {
    d_message = d_name + ": channels A and B are both column " + std::to_string(columns.A);
    return false;
  }
  if (!ChooseTimeColumn(columns, first.Fields, first.Delimiter))
    return false;
  const int last = std::max({columns.A, columns.B, d_time_column});
  if (first.Fields < last) {
    d_line = first.Line;
    return Fail("column " + std::to_string(last) + " does not exist: the data has " +
                std::to_string(first.Fields) + " column" + Plural(first.Fields));
  }
  d_in_data = true;
  d_delimiter = first.Delimiter;
  d_decimal_comma = d_delimiter != ',';
  d_last_column = last;
  d_capture.Columns = {columns.A, columns.B, {}, {}};
  d_capture.TimeColumn = d_time_column;
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

// The last header line names the columns when it splits into Fields
// fields at Delimiter; a line of units ("s", "V", "mV") under a line of
// names gives their units.
bool TCaptureParser::HeaderNames(int Fields, char Delimiter, std::vector<std::string> &Names,
                                 std::vector<std::string> &Units) const
{
  const auto fields = [&](const std::string &Line, std::vector<std::string> &Out) {
    std::vector<std::string_view> split(Fields + 1);
    if (Line.empty() || SplitFields(Line, Delimiter, split) != Fields)
      return false;
    for (int i = 0; i < Fields; ++i) {
      std::string_view name = split[i];
      if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
        name = Trimmed(name.substr(1, name.size() - 2));
      Out.push_back(Shown(name));
    }
    return true;
  };
  if (!fields(d_last_header, Names))
    return false;
  Units.assign(Fields, std::string());
  const bool units = std::all_of(Names.begin(), Names.end(),
                                 [](const std::string &Unit) { return Unit.size() <= 4; });
  std::vector<std::string> before;
  if (units && fields(d_header_before, before)) {
    Units = std::move(Names);
    Names = std::move(before);
  }
  return true;
}

void TCaptureParser::NameColumns(const TCandidate &First)
{
  std::vector<std::string> names, units;
  if (!HeaderNames(First.Fields, First.Delimiter, names, units))
    return;
  for (int i = 0; i < First.Fields; ++i)
    if (!units[i].empty())
      names[i] += " (" + units[i] + ")";
  d_capture.ColumnNames = names;
}

bool TCaptureParser::DataLine(std::string_view Text)
{
  const int count = SplitFields(Text, d_delimiter, d_fields);
  if (count < d_last_column)
    return BadRow("the row has " + std::to_string(count) + " column" + Plural(count) +
                  ", so column " + std::to_string(d_last_column) + " is missing");
  double value[2];
  std::string_view unit[2];
  const int column[2] = {d_capture.Columns.A, d_capture.Columns.B};
  for (int c = 0; c < 2; ++c) {
    const std::string_view field = d_fields[column[c] - 1];
    const TNumber kind = ParseValue(field, d_decimal_comma, value[c], &unit[c]);
    if (kind != TNumber::Ok)
      return BadRow(Problem(kind, column[c], field));
  }
  double time = 0.0;
  bool keep = true;
  if (d_time_column > 0 && !ReadTime(time, keep))
    return false;
  if (!keep)
    return true;
  for (int c = 0; c < 2; ++c)
    if (d_units_known && unit[c] != d_unit[c])
      return BadRow("column " + std::to_string(column[c]) + " holds '" +
                    Shown(d_fields[column[c] - 1]) + "': the rows above " +
                    (d_unit[c].empty() ? "have no unit" : "are in " + d_unit[c]));
  if (!d_units_known) {
    d_units_known = true;
    d_unit[0] = unit[0];
    d_unit[1] = unit[1];
  }
  d_capture.A.push_back(value[0]);
  d_capture.B.push_back(value[1]);
  d_capture.Line.push_back(static_cast<std::uint32_t>(d_line));
  if (d_time_column > 0)
    d_capture.Time.push_back(time);
  return true;
}

void TCaptureParser::DropTime()
{
  d_time_column = 0;
  d_capture.TimeColumn = 0;
  d_capture.Time = std::vector<double>();
}

// The row's time, in seconds from a number (with the unit s or none) or a
// clock time. False when the row is refused; Keep false when it is a bad
// row skipped.
bool TCaptureParser::ReadTime(double &Time, bool &Keep)
{
  const std::string_view field = d_fields[d_time_column - 1];
  std::string_view unit;
  TNumber kind = ParseValue(field, d_decimal_comma, Time, &unit);
  if (kind == TNumber::Ok && !unit.empty()) {
    const double seconds = SecondsPer(unit);
    kind = seconds > 0.0 ? kind : TNumber::NotNumber;
    Time *= seconds;
  }
  long long day = 0;
  if (kind == TNumber::NotNumber && ReadClock(field, d_decimal_comma, day, Time)) {
    if (d_capture.Time.empty())
      d_first_day = day;
    Time += (day - d_first_day) * 86400.0;
    kind = TNumber::Ok;
  }
  const bool rises = d_capture.Time.empty() || Time > d_capture.Time.back();
  if (!d_time_chosen && (kind != TNumber::Ok || !rises)) {
    DropTime();
    return true;
  }
  if (kind != TNumber::Ok) {
    Keep = false;
    return BadRow(Problem(kind, d_time_column, field));
  }
  if (!rises)
    return Fail("column " + std::to_string(d_time_column) + " holds the time '" + Shown(field) +
                "', no later than the row before's");
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
    d_message = d_name + " is empty: no data rows";
  else
    d_message = d_name + " holds no data rows, only " + std::to_string(d_capture.HeaderLines) +
                " header line" + Plural(d_capture.HeaderLines);
  return false;
}

// Why the start of a file is no text capture; null when it may be one.
// UTF-16 puts a zero byte beside every ASCII character (with or without a
// byte-order mark); any other zero byte marks a binary file.
const char *EncodingProblem(const char *Data, std::size_t Size)
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
  return nullptr;
}

// Where the text comes from, a piece at a time.
class TSource
{
public:
  virtual ~TSource() = default;
  // Bytes left to read; -1 when unknown.
  virtual long long Remaining() = 0;
  // Fills Data with up to Size bytes: how many, 0 at the end, -1 on an
  // error, which Error() then names.
  virtual long long Read(char *Data, std::size_t Size) = 0;
  virtual std::string Error() const = 0;
};

class TStreamSource : public TSource
{
public:
  explicit TStreamSource(std::istream &Stream) : d_stream(Stream) {}
  long long Remaining() override
  {
    const std::istream::pos_type here = d_stream.tellg();
    if (here == std::istream::pos_type(-1))
      return -1;
    if (!d_stream.seekg(0, std::ios::end)) {
      d_stream.clear();
      return -1;
    }
    const long long remaining = d_stream.tellg() - here;
    d_stream.seekg(here);
    return remaining;
  }
  long long Read(char *Data, std::size_t Size) override
  {
    if (!d_stream.good())
      return d_stream.bad() ? -1 : 0;
    d_stream.read(Data, static_cast<std::streamsize>(Size));
    return d_stream.bad() ? -1 : d_stream.gcount();
  }
  std::string Error() const override { return std::strerror(EIO); }

private:
  std::istream &d_stream;
};

class TFileSource : public TSource
{
public:
  TFileSource(std::FILE *File, long long Size) : d_file(File), d_size(Size) {}
  long long Remaining() override { return d_size; }
  long long Read(char *Data, std::size_t Size) override
  {
    if (d_error != 0)
      return -1;
    const std::size_t got = std::fread(Data, 1, Size, d_file);
    // What was read before an error is taken; the next call reports it.
    if (std::ferror(d_file))
      d_error = errno != 0 ? errno : EIO;
    return got > 0 || d_error == 0 ? static_cast<long long>(got) : -1;
  }
  std::string Error() const override { return std::strerror(d_error); }

private:
  std::FILE *d_file;
  long long d_size;
  int d_error = 0;
};

bool ReadSource(TSource &Source, const std::string &Name, const TCaptureReadOptions &Options,
                TCapture &Capture, std::string &Message)
{
  TCaptureParser parser(Name, Options, Capture);
  // Read in chunks, so a capture never sits in memory twice as text.
  // A small file gets a buffer of its own size; the rest 1 MiB pieces.
  std::size_t size = ChunkSize;
  const long long remaining = Source.Remaining();
  if (remaining >= 0)
    size = std::clamp<std::size_t>(remaining + 1, 4096, ChunkSize);
  std::vector<char> buffer(size);
  std::size_t begin = 0, end = 0;
  bool at_end = false, any_line = false, checked = false;
  // Old Mac exports end their lines in CR alone.
  char line_end = '\n';
  while (true) {
    const char *first = buffer.data() + begin;
    const void *newline = std::memchr(first, line_end, end - begin);
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
        Message = Name + ": a line longer than " + std::to_string(MaximumLineLength >> 20) + " MB";
        return false;
      }
      buffer.resize(buffer.size() * 2);
    }
    const long long got = Source.Read(buffer.data() + end, buffer.size() - end);
    if (got < 0) {
      Message = "cannot read " + Name + ": " + Source.Error();
      return false;
    }
    at_end = got == 0;
    end += got;
    if (!checked && end > 0) {
      checked = true;
      if (const char *problem = EncodingProblem(buffer.data(), end)) {
        Message = Name + " is " + problem;
        return false;
      }
      if (!std::memchr(buffer.data(), '\n', end) && std::memchr(buffer.data(), '\r', end))
        line_end = '\r';
    }
  }
  if (!parser.Finish()) {
    Message = parser.Message();
    return false;
  }
  return true;
}

}  // namespace

bool ReadCapture(std::istream &Stream, const std::string &Name, const TCaptureReadOptions &Options,
                 TCapture &Capture, std::string &Message)
{
  TStreamSource source(Stream);
  return ReadSource(source, Name, Options, Capture, Message);
}

bool ReadCaptureFile(const std::string &Path, const TCaptureReadOptions &Options, TCapture &Capture,
                     std::string &Message)
{
  if (Path == "-") {
    TFileSource source(stdin, -1);
    return ReadSource(source, "standard input", Options, Capture, Message);
  }
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::file_status status = fs::status(Path, error);
  // Whatever keeps the file from being looked at, it is not there to read.
  if (error || !fs::exists(status)) {
    Message = "cannot read " + Path + ": no such file";
    return false;
  }
  if (fs::is_directory(status)) {
    Message = "cannot read " + Path + ": it is a directory";
    return false;
  }
  std::FILE *const file = std::fopen(Path.c_str(), "rb");
  if (!file) {
    Message = "cannot read " + Path + ": " + std::strerror(errno);
    return false;
  }
  long long size = -1;
  if (fs::is_regular_file(status)) {
    const std::uintmax_t bytes = fs::file_size(Path, error);
    if (!error) {
      size = static_cast<long long>(bytes);
      // A row takes at least four bytes; reserving for that touches no
      // memory yet and spares the copies of a growing vector.
      const std::size_t rows = std::min(std::size_t(bytes) / 4 + 16, MaximumReserve);
      Capture.A.reserve(rows);
      Capture.B.reserve(rows);
      Capture.Line.reserve(rows);
      Capture.Time.reserve(rows);
    }
  }
  TFileSource source(file, size);
  const bool read = ReadSource(source, Path, Options, Capture, Message);
  std::fclose(file);
  return read;
}
