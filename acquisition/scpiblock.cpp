#include "scpiblock.h"

#include <cassert>

namespace {

bool IsDigit(char C)
{
  return C >= '0' && C <= '9';
}

TBlockHeader Malformed(const std::string &Expected, const char *Bytes, std::size_t Count)
{
  TBlockHeader header;
  header.State = THeaderState::Malformed;
  header.Problem =
      "malformed block header: expected " + Expected + ", got '" + Shortened({Bytes, Count}) + "'";
  return header;
}

}  // namespace

TBlockHeader ReadBlockHeader(const char *Bytes, std::size_t Count)
{
  if (Count < 1)
    return {};
  if (Bytes[0] != '#')
    return Malformed("'#'", Bytes, 1);
  if (Count < 2)
    return {};
  // #0 starts a block of no stated length, which nothing here can bound.
  if (!IsDigit(Bytes[1]) || Bytes[1] == '0')
    return Malformed("a digit 1-9 after '#'", Bytes, 2);
  const std::size_t digits = static_cast<std::size_t>(Bytes[1] - '0');
  TBlockHeader header;
  for (std::size_t i = 2; i < 2 + digits; ++i) {
    if (i >= Count)
      return {};
    if (!IsDigit(Bytes[i]))
      return Malformed(std::to_string(digits) + " digits of length", Bytes, i + 1);
    header.Length = header.Length * 10 + static_cast<std::size_t>(Bytes[i] - '0');
  }
  header.State = THeaderState::Complete;
  header.Size = 2 + digits;
  return header;
}

std::vector<long> DecodeCodes(const char *Bytes, std::size_t Count, const TCodeFormat &Format)
{
  assert(Format.Bytes == 1 || Format.Bytes == 2);
  const std::size_t width = static_cast<std::size_t>(Format.Bytes);
  std::vector<long> codes(Count / width);
  const auto *bytes = reinterpret_cast<const unsigned char *>(Bytes);
  for (std::size_t i = 0; i < codes.size(); ++i) {
    const unsigned char *b = bytes + i * width;
    long code = b[0];
    if (width == 2)
      code = Format.BigEndian ? b[0] << 8 | b[1] : b[1] << 8 | b[0];
    // Two's complement: the top bit counts negative.
    const long top = 1L << (8 * width - 1);
    if (Format.Signed && code >= top)
      code -= 2 * top;
    codes[i] = code;
  }
  return codes;
}

std::string Shortened(const std::string &Text)
{
  const std::size_t most = 40;
  std::string text = Text.substr(0, most);
  for (char &c : text)
    if (c < ' ' || c > '~')
      c = '?';
  return Text.size() > most ? text + "..." : text;
}
