#ifndef CAPTUREMOTION_H
#define CAPTUREMOTION_H

#include <cstddef>
#include <limits>

// How the scale moved under the sensor while the capture ran.
struct TCaptureMotion
{
  // Forward: the corrected angle rises, as the interpolator counts up.
  enum TDirection
  {
    Forward,
    Backward,
    Both,
  } Direction = Forward;
  long long Reversals = 0;
  // The whole path, out and back counted both ways.
  double TravelPeriods = 0.0;
  // With a time column (1-based): the capture's duration and the signal
  // frequency, mean and largest; NaN without one.
  int TimeColumn = 0;
  bool Timed = false;
  double DurationSeconds = std::numeric_limits<double>::quiet_NaN();
  double MeanFrequency = std::numeric_limits<double>::quiet_NaN();
  double MaxFrequency = std::numeric_limits<double>::quiet_NaN();
};

// Follows the unwrapped corrected angle sample by sample, with the
// sample's time, and finds turns, travel and rates without keeping the
// samples.
class TMotionTracker
{
public:
  // Scatter: the samples' angular scatter about the fitted ellipse (rad).
  explicit TMotionTracker(double Scatter);
  // Time is NaN when the capture has none.
  void Add(double Angle, double Time);
  TCaptureMotion Result(int TimeColumn) const;

private:
  double d_threshold, d_window;
  std::size_t d_samples = 0;
  // +1 rising, -1 falling, 0 not moved beyond the threshold yet.
  int d_direction = 0;
  long long d_reversals = 0;
  // The last turning point, the furthest angle since, and the path
  // before the turning point.
  double d_turn = 0.0, d_extreme = 0.0, d_travel = 0.0;
  // Before the first move: the angle's range.
  double d_low = 0.0, d_high = 0.0;
  double d_path = 0.0, d_last = 0.0;
  double d_first_time = 0.0, d_last_time = 0.0;
  // The rate window's start.
  double d_window_path = 0.0, d_window_time = 0.0;
  std::size_t d_window_samples = 0;
  double d_max_rate = 0.0;
};

#endif
