#ifndef ERRORUNITS_H
#define ERRORUNITS_H

#include "angles.h"

// The units an engineer sizes a signal chain in. One signal period of the
// interpolated angle is 2 pi rad, 360 deg, 100 % of the period, one scale
// pitch (mm) and Count interpolation counts.

const double DegreesPerRadian = 57.29577951308232;

inline double RadToDeg(double Rad)
{
  return Rad * DegreesPerRadian;
}

inline double RadToPercentPeriod(double Rad)
{
  return Rad / TwoPi * 100.0;
}

inline double RadToCounts(double Rad, int Count)
{
  return Rad / TwoPi * Count;
}

inline double RadToMm(double Rad, double Pitch)
{
  return Rad / TwoPi * Pitch;
}

inline double PercentPeriodToMm(double Percent, double Pitch)
{
  return Percent / 100.0 * Pitch;
}

// One angle error in all five units.
struct TErrorUnits
{
  double Rad, Deg, PercentPeriod, Counts, Mm;
};

inline TErrorUnits InErrorUnits(double Rad, int Count, double Pitch)
{
  return {Rad, RadToDeg(Rad), RadToPercentPeriod(Rad), RadToCounts(Rad, Count),
          RadToMm(Rad, Pitch)};
}

#endif
