#include "capturescreen.h"

#include <algorithm>
#include <cmath>

namespace {

// The statistics that steer the screen are taken from at most this many
// samples, evenly spread: enough for a quantile or a median, and cheap
// for ten million rows.
const std::size_t SubsampleSize = 1 << 16;
// A sample further outside its channel's 5 % ... 95 % range than half
// that range is no signal: a glitch, whatever the fit says.
const double RangeShare = 0.05;
const double RangeMargin = 0.5;
// Rounds of fitting and leaving out samples far off the fit.
const int MaximumRounds = 4;

std::size_t Stride(std::size_t Size)
{
  return Size / SubsampleSize + 1;
}

double Quantile(std::vector<double> &Values, double Share)
{
  const auto at = Values.begin() + static_cast<long>(Share * (Values.size() - 1));
  std::nth_element(Values.begin(), at, Values.end());
  return *at;
}

// How far each sample lies off the ellipse: its corrected radius less one.
class TRadius
{
public:
  explicit TRadius(const TEllipse &Ellipse)
      : d_ellipse(Ellipse), d_sin(std::sin(Ellipse.Phase)), d_cos(std::cos(Ellipse.Phase))
  {}
  double operator()(double A, double B) const
  {
    const double cosine = (B - d_ellipse.OffsetB) / d_ellipse.AmplitudeB;
    const double sine = ((A - d_ellipse.OffsetA) / d_ellipse.AmplitudeA - d_sin * cosine) / d_cos;
    return std::hypot(sine, cosine) - 1.0;
  }

private:
  const TEllipse &d_ellipse;
  double d_sin, d_cos;
};

void LeaveOut(TSampleScreen &Screen, std::size_t Index)
{
  Screen.Keep[Index] = 0;
  if (!Screen.Outlier[Index]) {
    Screen.Outlier[Index] = 1;
    ++Screen.Outliers;
  }
}

// Samples far outside their channel's own range.
void ScreenRange(TSampleSpan<double> Values, TSampleScreen &Screen)
{
  std::vector<double> sample;
  for (std::size_t i = 0; i < Values.size(); i += Stride(Values.size()))
    sample.push_back(Values[i]);
  const double low = Quantile(sample, RangeShare), high = Quantile(sample, 1.0 - RangeShare);
  const double margin = RangeMargin * (high - low);
  for (std::size_t i = 0; i < Values.size(); ++i)
    if (!(Values[i] >= low - margin && Values[i] <= high + margin))
      LeaveOut(Screen, i);
}

// A channel's ends held by two samples or more: candidates for clipping,
// left out of the first fit.
std::vector<TClippedEnd> ClippingCandidates(TSampleSpan<double> Values, int Channel,
                                            TSampleScreen &Screen)
{
  double low = INFINITY, high = -INFINITY;
  for (std::size_t i = 0; i < Values.size(); ++i)
    if (!Screen.Outlier[i]) {
      low = std::min(low, Values[i]);
      high = std::max(high, Values[i]);
    }
  std::vector<TClippedEnd> ends;
  if (!(high > low))
    return ends;
  for (const bool top : {true, false}) {
    TClippedEnd end{Channel, top, top ? high : low, 0};
    // Outliers lie outside the range these ends are taken from.
    for (std::size_t i = 0; i < Values.size(); ++i)
      end.Samples += Values[i] == end.Value;
    if (end.Samples >= 2) {
      for (std::size_t i = 0; i < Values.size(); ++i)
        if (Values[i] == end.Value)
          Screen.Keep[i] = 0;
      ends.push_back(end);
    }
  }
  return ends;
}

// Whether the fit runs beyond a candidate end: then the signal was cut
// there. Otherwise its samples are an ordinary peak and go back in.
bool RunsBeyond(const TEllipse &Ellipse, const TClippedEnd &End)
{
  const double offset = End.Channel == 0 ? Ellipse.OffsetA : Ellipse.OffsetB;
  const double amplitude = End.Channel == 0 ? Ellipse.AmplitudeA : Ellipse.AmplitudeB;
  const double beyond = End.Top ? offset + amplitude - End.Value : End.Value - (offset - amplitude);
  return beyond > ClippingMargin * amplitude;
}

}  // namespace

TEllipseProblem ScreenAndFit(const TCaptureView &Capture, TSampleScreen &Screen)
{
  const std::size_t n = Capture.Size();
  const TSampleSpan<double> *channels[2] = {&Capture.A, &Capture.B};
  Screen = TSampleScreen();
  Screen.Keep.assign(n, 1);
  Screen.Outlier.assign(n, 0);
  for (const TSampleSpan<double> *values : channels)
    ScreenRange(*values, Screen);
  std::vector<TClippedEnd> candidates;
  for (int c = 0; c < 2; ++c)
    for (const TClippedEnd &end : ClippingCandidates(*channels[c], c, Screen))
      candidates.push_back(end);

  TEllipseProblem problem = FitEllipse(Capture.A, Capture.B, Screen.Ellipse, &Screen.Keep);
  if (problem != TEllipseProblem::None && !candidates.empty()) {
    // Too little left without the ends: they are the signal.
    candidates.clear();
    for (std::size_t i = 0; i < n; ++i)
      Screen.Keep[i] = !Screen.Outlier[i];
    problem = FitEllipse(Capture.A, Capture.B, Screen.Ellipse, &Screen.Keep);
  }
  if (problem != TEllipseProblem::None)
    return problem;
  for (const TClippedEnd &end : candidates) {
    if (RunsBeyond(Screen.Ellipse, end)) {
      Screen.Clipped.push_back(end);
      continue;
    }
    const TSampleSpan<double> values = *channels[end.Channel];
    for (std::size_t i = 0; i < n; ++i)
      if (!Screen.Outlier[i] && values[i] == end.Value)
        Screen.Keep[i] = 1;
  }

  // Samples went back in unless every candidate was clipped.
  bool stale = Screen.Clipped.size() != candidates.size();
  for (int round = 0; round < MaximumRounds; ++round) {
    if (stale) {
      problem = FitEllipse(Capture.A, Capture.B, Screen.Ellipse, &Screen.Keep);
      if (problem != TEllipseProblem::None)
        return problem;
      stale = false;
    }
    const TRadius radius(Screen.Ellipse);
    std::vector<double> sample;
    for (std::size_t i = 0; i < n; i += Stride(n))
      if (Screen.Keep[i])
        sample.push_back(std::fabs(radius(Capture.A[i], Capture.B[i])));
    if (sample.empty())
      break;
    const double limit = std::max(OutlierFactor * Quantile(sample, 0.5), OutlierFloor);
    std::size_t found = 0;
    for (std::size_t i = 0; i < n; ++i)
      if (Screen.Keep[i] && !(std::fabs(radius(Capture.A[i], Capture.B[i])) <= limit)) {
        LeaveOut(Screen, i);
        ++found;
      }
    if (found == 0)
      break;
    stale = true;
  }
  if (stale) {
    problem = FitEllipse(Capture.A, Capture.B, Screen.Ellipse, &Screen.Keep);
    if (problem != TEllipseProblem::None)
      return problem;
  }

  const TRadius radius(Screen.Ellipse);
  double squares = 0.0;
  std::size_t kept = 0;
  for (std::size_t i = 0; i < n; ++i)
    if (Screen.Keep[i]) {
      const double off = radius(Capture.A[i], Capture.B[i]);
      squares += off * off;
      ++kept;
    }
  Screen.Residual = kept > 0 ? std::sqrt(squares / kept) : 0.0;
  return TEllipseProblem::None;
}
