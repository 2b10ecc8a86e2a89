#ifndef VECTOR2_H
#define VECTOR2_H

#include <cassert>
#include <limits>

// A point or direction in the plane: two doubles, x then y.
class TVector2
{
public:
  TVector2() : x(0.0), y(0.0) {}
  TVector2(const double &X, const double &Y) : x(X), y(Y) {}

  // 0 gives x, 1 gives y; any other index is a programming error.
  double operator[](const int Index) const;
  double &operator[](const int Index);

  // Scales the vector to unit length; it must not be (near) zero.
  TVector2 &Normalize();

  double x;
  double y;
};

double Dot(const TVector2 &a, const TVector2 &b);

TVector2 operator*(const TVector2 &v, const double &d);
TVector2 operator*(const double &d, const TVector2 &v);
TVector2 operator+(const TVector2 &a, const TVector2 &b);
TVector2 operator+(const TVector2 &v, const double &d);
TVector2 operator+(const double &d, const TVector2 &v);
TVector2 operator-(const TVector2 &a, const TVector2 &b);
TVector2 operator-(const TVector2 &v, const double &d);
TVector2 operator-(const double &d, const TVector2 &v);

// The divisor must be positive and above the machine epsilon.
inline TVector2 operator/(const TVector2 &v, const double &d)
{
  assert(d > std::numeric_limits<double>::epsilon());
  return TVector2(v.x / d, v.y / d);
}

#endif
