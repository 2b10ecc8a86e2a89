#include "scpipreamble.h"

#include <charconv>
#include <cmath>
#include <map>
#include <string_view>
#include <vector>

namespace {

std::string_view Trimmed(std::string_view Text)
{
  while (!Text.empty() && (Text.front() == ' ' || Text.front() == '\t'))
    Text.remove_prefix(1);
  while (!Text.empty() && (Text.back() == ' ' || Text.back() == '\t'))
    Text.remove_suffix(1);
  return Text;
}

// Instruments write +1.0E-6 as often as 1.0E-6; from_chars takes no '+'.
bool ReadNumber(std::string_view Text, double &Value)
{
  Text = Trimmed(Text);
  if (!Text.empty() && Text.front() == '+')
    Text.remove_prefix(1);
  const auto result = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
  return result.ec == std::errc() && result.ptr == Text.data() + Text.size() &&
         std::isfinite(Value);
}

bool ReadCount(std::string_view Text, std::size_t &Count)
{
  double value = 0.0;
  if (!ReadNumber(Text, value) || value < 0.0 || value != std::floor(value) || value > 1e9)
    return false;
  Count = static_cast<std::size_t>(value);
  return true;
}

bool Fail(const std::string &Expected, std::string_view Got, std::string &Problem)
{
  Problem =
      "malformed preamble: expected " + Expected + ", got '" + Shortened(std::string(Got)) + "'";
  return false;
}

// Splits at Separator, except inside double quotes (a waveform's
// description may hold one).
std::vector<std::string_view> Fields(std::string_view Text, char Separator)
{
  std::vector<std::string_view> fields;
  bool quoted = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= Text.size(); ++i) {
    if (i < Text.size() && Text[i] == '"')
      quoted = !quoted;
    if (i == Text.size() || (Text[i] == Separator && !quoted)) {
      fields.push_back(Text.substr(start, i - start));
      start = i + 1;
    }
  }
  return fields;
}

}  // namespace

bool ParseWavPreamble(const std::string &Text, TPreamble &Preamble, std::string &Problem)
{
  const std::vector<std::string_view> fields = Fields(Text, ',');
  double numbers[10];
  if (fields.size() != 10)
    return Fail("ten comma-separated numbers", Text, Problem);
  for (std::size_t i = 0; i < 10; ++i)
    if (!ReadNumber(fields[i], numbers[i]))
      return Fail("ten comma-separated numbers", Text, Problem);
  if (numbers[0] != 0.0 && numbers[0] != 1.0)
    return Fail("format 0 (BYTE) or 1 (WORD)", Trimmed(fields[0]), Problem);
  if (!ReadCount(fields[2], Preamble.Points))
    return Fail("a whole number of points", Trimmed(fields[2]), Problem);
  // BYTE and WORD codes are unsigned; WORD comes low byte first.
  Preamble.Format = {numbers[0] == 0.0 ? 1 : 2, false, false};
  Preamble.TimeStep = numbers[4];
  Preamble.TimeOrigin = numbers[5] - numbers[6] * numbers[4];
  Preamble.CodeOffset = numbers[8] + numbers[9];
  Preamble.VoltsPerCode = numbers[7];
  Preamble.VoltsOffset = 0.0;
  return true;
}

bool ParseCurvePreamble(const std::string &Text, TPreamble &Preamble, std::string &Problem)
{
  std::map<std::string, std::string_view> values;
  for (std::string_view field : Fields(Text, ';')) {
    field = Trimmed(field);
    const std::size_t space = field.find(' ');
    std::string_view key = field.substr(0, space);
    // :WFMOUTPRE:NR_PT, :WFMO:NR_PT and NR_PT name the same.
    const std::size_t colon = key.rfind(':');
    if (colon != std::string_view::npos)
      key.remove_prefix(colon + 1);
    if (space != std::string_view::npos)
      values[std::string(key)] = Trimmed(field.substr(space + 1));
  }
  const char *const needed[] = {"NR_PT", "XINCR", "YMULT", "YOFF", "YZERO"};
  double numbers[5];
  for (int i = 0; i < 5; ++i)
    if (!values.count(needed[i]) || !ReadNumber(values[needed[i]], numbers[i]))
      return Fail("NR_PT, XINCR, YMULT, YOFF and YZERO", Text, Problem);
  if (!ReadCount(values["NR_PT"], Preamble.Points))
    return Fail("a whole number of points", values["NR_PT"], Problem);
  // Signed and high byte first unless the preamble says otherwise.
  double width = 2.0;
  if (values.count("BYT_NR") &&
      (!ReadNumber(values["BYT_NR"], width) || (width != 1 && width != 2)))
    return Fail("BYT_NR 1 or 2", values["BYT_NR"], Problem);
  Preamble.Format = {static_cast<int>(width), values["BN_FMT"] != "RP", values["BYT_OR"] != "LSB"};
  double x_zero = 0.0, point_offset = 0.0;
  if (values.count("XZERO"))
    ReadNumber(values["XZERO"], x_zero);
  if (values.count("PT_OFF"))
    ReadNumber(values["PT_OFF"], point_offset);
  Preamble.TimeStep = numbers[1];
  Preamble.TimeOrigin = x_zero - point_offset * numbers[1];
  Preamble.VoltsPerCode = numbers[2];
  Preamble.CodeOffset = numbers[3];
  Preamble.VoltsOffset = numbers[4];
  return true;
}
