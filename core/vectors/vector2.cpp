#include "vector2.h"

#include <cmath>

double TVector2::operator[](const int Index) const
{
  switch (Index) {
    case 0:
      return x;
    case 1:
      return y;
    default:
      assert(false);
      return 0.0;
  }
}

double &TVector2::operator[](const int Index)
{
  switch (Index) {
    case 0:
      return x;
    case 1:
      return y;
    default:
      assert(false);
      return x;
  }
}

TVector2 &TVector2::Normalize()
{
  const double Length = std::sqrt(x * x + y * y);
  assert(Length > std::numeric_limits<double>::epsilon());
  x /= Length;
  y /= Length;
  return *this;
}

double Dot(const TVector2 &a, const TVector2 &b)
{
  return a.x * b.x + a.y * b.y;
}

TVector2 operator*(const TVector2 &v, const double &d)
{
  return TVector2(v.x * d, v.y * d);
}

TVector2 operator*(const double &d, const TVector2 &v)
{
  return v * d;
}

TVector2 operator+(const TVector2 &a, const TVector2 &b)
{
  return TVector2(a.x + b.x, a.y + b.y);
}

TVector2 operator+(const TVector2 &v, const double &d)
{
  return TVector2(v.x + d, v.y + d);
}

TVector2 operator+(const double &d, const TVector2 &v)
{
  return v + d;
}

TVector2 operator-(const TVector2 &a, const TVector2 &b)
{
  return TVector2(a.x - b.x, a.y - b.y);
}

TVector2 operator-(const TVector2 &v, const double &d)
{
  return TVector2(v.x - d, v.y - d);
}

TVector2 operator-(const double &d, const TVector2 &v)
{
  return TVector2(d - v.x, d - v.y);
}
