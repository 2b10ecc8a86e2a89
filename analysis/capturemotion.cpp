#include "capturemotion.h"

#include <algorithm>
#include <cmath>

#include "angles.h"

namespace {

// A turn counts once the angle has gone back this far from its furthest
// point: the running extreme of a scale at rest drifts over the noise's
// whole spread, which even in millions of samples stays within about 12
// times its scatter, so 16 leaves a margin; and at least 1/64 period, a
// fraction of the interpolator's own error no count would notice.
const double TurnScatters = 16.0;
const double LeastTurn = TwoPi / 64.0;
// The largest rate is taken over stretches of at least 1/8 period of path
// and twice the turn threshold, so that the noise at their ends adds about
// a per cent at most, and of at least 16 samples, so that the time's
// rounding does not matter. A rate that changes by 30 % over a period
// loses a few tenths of a per cent to the averaging.
const double LeastWindow = TwoPi / 8.0;
const std::size_t WindowSamples = 16;

}  // namespace

TMotionTracker::TMotionTracker(double Scatter)
    : d_threshold(std::max(LeastTurn, TurnScatters * Scatter)),
      d_window(std::max(LeastWindow, 2.0 * d_threshold))
{}

void TMotionTracker::Add(double Angle, double Time)
{
  if (d_samples++ == 0) {
    d_turn = d_extreme = d_low = d_high = Angle;
    d_first_time = d_window_time = Time;
  }
  d_last_time = Time;
  d_last = Angle;
  if (d_direction == 0) {
    d_low = std::min(d_low, Angle);
    d_high = std::max(d_high, Angle);
    if (d_high - d_turn > d_threshold || d_turn - d_low > d_threshold) {
      d_direction = d_high - d_turn > d_threshold ? 1 : -1;
      d_extreme = d_direction > 0 ? d_high : d_low;
    }
  } else if ((Angle - d_extreme) * d_direction > 0.0) {
    d_extreme = Angle;
  } else if ((d_extreme - Angle) * d_direction > d_threshold) {
    d_travel += std::fabs(d_extreme - d_turn);
    d_turn = d_extreme;
    d_extreme = Angle;
    d_direction = -d_direction;
    ++d_reversals;
  }
  // The path to the furthest point reached never shrinks with noise.
  d_path = d_travel + (d_direction != 0 ? std::fabs(d_extreme - d_turn)
                                        : std::max(d_high - d_turn, d_turn - d_low));
  if (++d_window_samples >= WindowSamples && d_path - d_window_path >= d_window) {
    if (Time > d_window_time)
      d_max_rate = std::max(d_max_rate, (d_path - d_window_path) / (Time - d_window_time));
    d_window_path = d_path;
    d_window_time = Time;
    d_window_samples = 0;
  }
}

TCaptureMotion TMotionTracker::Result(int TimeColumn) const
{
  TCaptureMotion motion;
  const int direction = d_direction != 0 ? d_direction : d_high - d_turn >= d_turn - d_low ? 1 : -1;
  motion.Direction = d_reversals > 0 ? TCaptureMotion::Both
                     : direction > 0 ? TCaptureMotion::Forward
                                     : TCaptureMotion::Backward;
  motion.Reversals = d_reversals;
  // The last leg ends at the last sample, not at its noisiest extreme.
  motion.TravelPeriods =
      (d_direction != 0 ? d_travel + std::fabs(d_last - d_turn) : d_path) / TwoPi;
  const double duration = d_last_time - d_first_time;
  if (TimeColumn > 0 && duration > 0.0) {
    motion.TimeColumn = TimeColumn;
    motion.Timed = true;
    motion.DurationSeconds = duration;
    motion.MeanFrequency = motion.TravelPeriods / duration;
    // A short capture may end before its first window.
    motion.MaxFrequency = std::max(d_max_rate / TwoPi, motion.MeanFrequency);
  }
  return motion;
}
