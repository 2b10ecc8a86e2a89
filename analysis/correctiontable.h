#ifndef CORRECTIONTABLE_H
#define CORRECTIONTABLE_H

#include <vector>

#include "interpolationerror.h"

// The entries a correction table may have: powers of two, as interpolator
// chips index them with the angle's top bits; and the codes' widths.
const int MinimumTableSize = 16;
const int MaximumTableSize = 4096;
const int DefaultTableSize = 256;
const int MinimumTableBits = 4;
const int MaximumTableBits = 16;

struct TTableSettings
{
  int Size = DefaultTableSize;
  // 0: the entries unquantised; else B-bit signed codes of Step (rad),
  // Step 0 meaning the largest entry over 2^(B-1) - 1.
  int Bits = 0;
  double Step = 0.0;
};

// What an interpolator's look-up table corrects after the ellipse: Size
// entries at corrected angles 2 pi k / Size holding the angle to add
// there (rad, after quantisation), read with linear interpolation between
// neighbours, and the error it leaves.
struct TCorrectionTable
{
  TTableSettings Settings;
  // The step of the codes; 0 unquantised.
  double Step = 0.0;
  // Entries whose code lay beyond the B bits and was clamped.
  long Clamped = 0;
  std::vector<double> Entries;
  // The codes, when quantised.
  std::vector<long> Codes;
  TInterpolationError ErrorAfter;

  // The correction at a corrected angle, any turn.
  double At(double CorrectedAngle) const;
};

// The table for an error given at the AngleCount grid angles as the
// corrected angle's error against the grid angle (CorrectGrid's): each
// entry is the correction at its corrected angle, taken between the two
// grid samples whose corrected angles bracket it; then quantised, and the
// error after the table measured at the grid angles.
TCorrectionTable FitCorrectionTable(const std::vector<double> &ErrorAfterEllipse,
                                    const TTableSettings &Settings);

#endif
