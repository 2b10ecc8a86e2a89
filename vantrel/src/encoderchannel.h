#ifndef ENCODERCHANNEL_H
#define ENCODERCHANNEL_H

#include <vector>

#include "vector2.h"

// Waveform of a channel.
enum TChannelType
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

  // Limited signal value at an angle in radians.
  double Value(const double &Angle) const;
  // Rebuilds the sample table: four times the points per period, from
  // angle 0 in accumulated steps of one period over (points - 1).
  void GeneratePoints();
  double MaximumValue() const;
  double MinimumValue() const;
  std::vector<TVector2> SamplePoints() const;

  int d_point_count;
  double d_gain;
  double d_offset;
  double d_phase;
  std::vector<TVector2> d_points;
  TChannelType d_type;
};

#endif
