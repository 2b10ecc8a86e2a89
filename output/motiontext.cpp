#include "motiontext.h"

#include "textcolumns.h"

namespace {

const char *DirectionName(TCaptureMotion::TDirection Direction)
{
  switch (Direction) {
    case TCaptureMotion::Forward:
      break;
    case TCaptureMotion::Backward:
      return "backward";
    case TCaptureMotion::Both:
      return "both";
  }
  return "forward";
}

// Mean and largest, in Hz or, times the pitch, in mm/s.
QJsonValue Rates(const TCaptureMotion &Motion, double Factor)
{
  if (!Motion.Timed || Factor <= 0.0)
    return QJsonValue();
  return QJsonObject{{"mean", Motion.MeanFrequency * Factor},
                     {"max", Motion.MaxFrequency * Factor}};
}

}  // namespace

QString MotionText(const TCaptureMotion &Motion, double Pitch, int LabelWidth)
{
  QString text = "\nMotion\n";
  text += Line("Direction", Column(DirectionName(Motion.Direction)), LabelWidth);
  text += Line("Reversals", Whole(Motion.Reversals), LabelWidth);
  text += Line("Travel (periods)", Num(Motion.TravelPeriods), LabelWidth);
  if (!Motion.Timed)
    return text + "  No time column: no duration, frequency or speed\n";
  text += Line("Time column", Whole(Motion.TimeColumn), LabelWidth);
  text += Line("Duration (s)", Num(Motion.DurationSeconds), LabelWidth);
  text += Line("Frequency mean, max (Hz)", Num(Motion.MeanFrequency) + Num(Motion.MaxFrequency),
               LabelWidth);
  const bool speed = Pitch > 0.0;
  text += Line("Speed mean, max (mm/s)",
               speed ? Num(Motion.MeanFrequency * Pitch) + Num(Motion.MaxFrequency * Pitch)
                     : Column("-") + Column("-"),
               LabelWidth);
  return text;
}

QJsonObject MotionJson(const TCaptureMotion &Motion, double Pitch)
{
  return {{"direction", DirectionName(Motion.Direction)},
          {"reversals", static_cast<double>(Motion.Reversals)},
          {"travel_periods", Motion.TravelPeriods},
          {"duration_s", Motion.Timed ? QJsonValue(Motion.DurationSeconds) : QJsonValue()},
          {"frequency_hz", Rates(Motion, 1.0)},
          {"speed_mm_s", Rates(Motion, Pitch)},
          {"time_column", Motion.Timed ? QJsonValue(Motion.TimeColumn) : QJsonValue()}};
}
