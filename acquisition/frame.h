#ifndef FRAME_H
#define FRAME_H

#include <string>
#include <vector>

// One acquisition of both channels: samples equally spaced in time, in the
// instrument's units.
struct TFrame
{
  std::vector<double> A, B;
  // Seconds between samples, and the time of the first; 0 when unknown.
  double TimeStep = 0.0;
  double TimeOrigin = 0.0;
  std::string Units = "V";

  std::size_t Size() const { return A.size(); }
};

#endif
