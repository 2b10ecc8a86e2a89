#ifndef VECTOR3_H
#define VECTOR3_H

#include <cassert>
#include <limits>

// A point or direction in space: three doubles, x, y then z.
class TVector3
{
public:
  TVector3() : x(0.0), y(0.0), z(0.0) {}
  TVector3(const double &X, const double &Y, const double &Z) : x(X), y(Y), z(Z) {}

  // 0 gives x, 1 gives y, 2 gives z; any other index is a programming error.
  double operator[](const int Index) const;
  double &operator[](const int Index);

  // Scales the vector to unit length; it must not be (near) zero.
  TVector3 &Normalize();
  // Replaces the vector by its cross product with Other (this × Other).
  TVector3 &Cross(const TVector3 &Other);

  double x;
  double y;
  double z;
};

double Dot(const TVector3 &a, const TVector3 &b);
TVector3 Cross(const TVector3 &a, const TVector3 &b);

TVector3 operator*(const TVector3 &v, const double &d);
TVector3 operator*(const double &d, const TVector3 &v);
TVector3 operator+(const TVector3 &a, const TVector3 &b);
TVector3 operator+(const TVector3 &v, const double &d);
TVector3 operator+(const double &d, const TVector3 &v);
TVector3 operator-(const TVector3 &a, const TVector3 &b);
TVector3 operator-(const TVector3 &v, const double &d);
TVector3 operator-(const double &d, const TVector3 &v);

// The divisor must be positive and above the machine epsilon.
inline TVector3 operator/(const TVector3 &v, const double &d)
{
  assert(d > std::numeric_limits<double>::epsilon());
  return TVector3(v.x / d, v.y / d, v.z / d);
}

#endif
