#include "encoderchannel.h"

TEncoderChannel::TEncoderChannel()
    : d_point_count(100), d_gain(1.0), d_offset(0.0), d_phase(0.0),
      d_type(SIN_CHANNEL)
{
}

TEncoderChannel::~TEncoderChannel() {}

void TEncoderChannel::SetGain(const double &Gain) { d_gain = Gain; }
void TEncoderChannel::SetOffset(const double &Offset) { d_offset = Offset; }
void TEncoderChannel::SetPhase(const double &Phase) { d_phase = Phase; }
double TEncoderChannel::Value(const double &) const { return 0.0; }
void TEncoderChannel::GeneratePoints() { d_points.assign(400, TVector2()); }
double TEncoderChannel::MaximumValue() const { return 1.0; }
double TEncoderChannel::MinimumValue() const { return -1.0; }
std::vector<TVector2> TEncoderChannel::SamplePoints() const { return d_points; }
