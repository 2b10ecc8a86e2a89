#ifndef SCPIPREAMBLE_H
#define SCPIPREAMBLE_H

#include <cstddef>
#include <string>

#include "scpiblock.h"

// What an instrument's preamble says of the block that follows: how many
// codes, how they are written, and how codes and indices become volts
// and seconds.
struct TPreamble
{
  std::size_t Points = 0;
  TCodeFormat Format;
  double TimeStep = 0.0;
  double TimeOrigin = 0.0;  // of the first code
  // volts = (code - CodeOffset) * VoltsPerCode + VoltsOffset
  double CodeOffset = 0.0;
  double VoltsPerCode = 0.0;
  double VoltsOffset = 0.0;

  double Volts(long Code) const
  {
    return (static_cast<double>(Code) - CodeOffset) * VoltsPerCode + VoltsOffset;
  }
};

// The answer to :WAV:PRE?, ten numbers: format (0 BYTE, 1 WORD), type,
// points, count, x increment, x origin, x reference, y increment,
// y origin, y reference.
bool ParseWavPreamble(const std::string &Text, TPreamble &Preamble, std::string &Problem);
// The answer to WFMOUTPRE?, "KEY value" pairs separated by ';', each key
// with or without its :WFMOUTPRE: or :WFMO: header.
bool ParseCurvePreamble(const std::string &Text, TPreamble &Preamble, std::string &Problem);

#endif
