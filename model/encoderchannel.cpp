#include "encoderchannel.h"

#include "angles.h"
#include "signallimit.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>

namespace {
bool IsWaveform(const TChannelType &Type)
{
  return Type == SIN_CHANNEL || Type == COS_CHANNEL;
}

double Sinusoid(const TChannelType &Type, const double &Angle)
{
  return Type == SIN_CHANNEL ? std::sin(Angle) : std::cos(Angle);
}
}  // namespace

TEncoderChannel::TEncoderChannel()
    : d_point_count(100), d_gain(1.0), d_offset(0.0), d_phase(0.0), d_type(SIN_CHANNEL)
{}

TEncoderChannel::~TEncoderChannel() {}

void TEncoderChannel::SetGain(const double &Gain)
{
  d_gain = Gain;
}

void TEncoderChannel::SetOffset(const double &Offset)
{
  d_offset = Offset;
}

void TEncoderChannel::SetPhase(const double &Phase)
{
  d_phase = Phase;
}

double TEncoderChannel::Value(const double &Angle) const
{
  if (!IsWaveform(d_type)) {
    assert(false);
    return std::numeric_limits<double>::quiet_NaN();
  }
  // Gain and offset act before the limit, so large values give flat tops.
  return Limited(Sinusoid(d_type, Angle + d_phase) * d_gain + d_offset);
}

void TEncoderChannel::GeneratePoints()
{
  assert(d_point_count > 1);
  const double step = full_turn / (d_point_count - 1);
  const int size = static_cast<int>(d_point_count * 4.0);
  d_points.clear();
  d_points.resize(size);
  if (!IsWaveform(d_type)) {
    assert(false);
    return;
  }

  // The angle is accumulated like the interpolator's, not taken as i * step.
  double x = 0.0;
  for (int i = 0; i < size; ++i) {
    const double y = Sinusoid(d_type, x + d_phase) * d_gain + d_offset;
    d_points[i] = TVector2(x, Limited(y));
    x += step;
  }
}

double TEncoderChannel::MaximumValue() const
{
  return std::min(d_gain + d_offset, 1.0);
}

double TEncoderChannel::MinimumValue() const
{
  return std::max(d_offset - d_gain, -1.0);
}

std::vector<TVector2> TEncoderChannel::SamplePoints() const
{
  return d_points;
}
