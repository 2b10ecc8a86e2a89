#ifndef SCPIBLOCK_H
#define SCPIBLOCK_H

#include <cstddef>
#include <string>
#include <vector>

// How an instrument writes one sample: 1 or 2 bytes, signed or not, the
// high byte first or last.
struct TCodeFormat
{
  int Bytes = 2;
  bool Signed = false;
  bool BigEndian = false;
};

// An IEEE 488.2 definite-length block's header, #<d><length>, read from
// the bytes received so far.
enum class THeaderState
{
  Incomplete,
  Complete,
  Malformed,
};

struct TBlockHeader
{
  THeaderState State = THeaderState::Incomplete;
  std::size_t Size = 0;    // bytes of the header, once complete
  std::size_t Length = 0;  // bytes of data that follow it
  std::string Problem;     // once malformed
};

TBlockHeader ReadBlockHeader(const char *Bytes, std::size_t Count);

// The codes of a block, Bytes / Format.Bytes of them.
std::vector<long> DecodeCodes(const char *Bytes, std::size_t Count, const TCodeFormat &Format);

// Text an instrument sent, for a message: at most about 40 characters,
// anything unprintable as '?'.
std::string Shortened(const std::string &Text);

#endif
