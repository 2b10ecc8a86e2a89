#include "vector3.h"

#include <cmath>

double TVector3::operator[](const int Index) const
{
  switch (Index) {
    case 0:
      return x;
    case 1:
      return y;
    case 2:
      return z;
    default:
      assert(false);
      return 0.0;
  }
}

double &TVector3::operator[](const int Index)
{
  switch (Index) {
    case 0:
      return x;
    case 1:
      return y;
    case 2:
      return z;
    default:
      assert(false);
      return x;
  }
}

TVector3 &TVector3::Normalize()
{
  const double Length = std::sqrt(x * x + y * y + z * z);
  assert(Length > std::numeric_limits<double>::epsilon());
  x /= Length;
  y /= Length;
  z /= Length;
  return *this;
}

TVector3 &TVector3::Cross(const TVector3 &Other)
{
  // Other may be this vector itself, so read everything before writing.
  const double X = y * Other.z - z * Other.y;
  const double Y = z * Other.x - x * Other.z;
  const double Z = x * Other.y - y * Other.x;
  x = X;
  y = Y;
  z = Z;
  return *this;
}

double Dot(const TVector3 &a, const TVector3 &b)
{
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

TVector3 Cross(const TVector3 &a, const TVector3 &b)
{
  TVector3 Result(a);
  return Result.Cross(b);
}

TVector3 operator*(const TVector3 &v, const double &d)
{
  return TVector3(v.x * d, v.y * d, v.z * d);
}

TVector3 operator*(const double &d, const TVector3 &v)
{
  return v * d;
}

TVector3 operator+(const TVector3 &a, const TVector3 &b)
{
  return TVector3(a.x + b.x, a.y + b.y, a.z + b.z);
}

TVector3 operator+(const TVector3 &v, const double &d)
{
  return TVector3(v.x + d, v.y + d, v.z + d);
}

TVector3 operator+(const double &d, const TVector3 &v)
{
  return v + d;
}

TVector3 operator-(const TVector3 &a, const TVector3 &b)
{
  return TVector3(a.x - b.x, a.y - b.y, a.z - b.z);
}

TVector3 operator-(const TVector3 &v, const double &d)
{
  return TVector3(v.x - d, v.y - d, v.z - d);
}

TVector3 operator-(const double &d, const TVector3 &v)
{
  return TVector3(d - v.x, d - v.y, d - v.z);
}
