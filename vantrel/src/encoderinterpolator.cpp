#include "encoderinterpolator.h"

TEncoderInterpolator::TEncoderInterpolator()
    : d_data_size(5), d_interpolator_count(10)
{
}

TEncoderInterpolator::~TEncoderInterpolator() {}

void TEncoderInterpolator::SetInterpolatorCount(const int Count)
{
  d_interpolator_count = Count;
}

std::vector<TVector2> TEncoderInterpolator::Evaluate(const double &,
                                                     const TEncoderChannel &,
                                                     const TEncoderChannel &,
                                                     bool *Error) const
{
  *Error = false;
  return {};
}

double TEncoderInterpolator::Angle(const double &, const double &) { return 0.0; }

int TEncoderInterpolator::StepDirection(const double &, const double &,
                                        const double &)
{
  return 0;
}
