#ifndef ENCODERCHANNEL_H
#define ENCODERCHANNEL_H

#include <vector>

#include "vector2.h"

// Waveform of a channel. The fixed underlying type keeps any int a valid
// value, so a wrong one reaches the assertions instead of undefined behaviour.
enum TChannelType : int
{
  SIN_CHANNEL = 0,
  COS_CHANNEL = 1
};

// One analog output of a sine/cosine encoder: an ideal sinusoid of the
// angle, distorted by gain, offset and phase and limited to -1 ... +1.
class TEncoderChannel
{
public:
  TEncoderChannel();
  ~TEncoderChannel();

  // The setters only store; call GeneratePoints() to rebuild the table.
  void SetGain(const double &Gain);
  void SetOffset(const double &Offset);
  void SetPhase(const double &Phase);

  // Limited signal value at an angle in radians, from the current
  // parameters whether or not the table has been rebuilt.
  double Value(const double &Angle) const;
  // Rebuilds the sample table: four times the points per period, from
  // angle 0 in accumulated steps of one period over (points - 1).
  void GeneratePoints();
  // Upper and lower peak of the limited signal (for a gain of 0 or more).
  double MaximumValue() const;
  double MinimumValue() const;
  // A copy of the table: x = angle without phase, y = limited value.
  std::vector<TVector2> SamplePoints() const;

  // Points per signal period, both ends included; fixed at 100.
  int d_point_count;
  double d_gain;
  double d_offset;
  double d_phase;
  std::vector<TVector2> d_points;
  // Assigned by the owner before first use.
  TChannelType d_type;
};

#endif
