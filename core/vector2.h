#ifndef VECTOR2_H
#define VECTOR2_H

// A point or direction in the plane: two doubles, x then y.
class TVector2
{
public:
  TVector2() : x(0.0), y(0.0) {}
  TVector2(const double &X, const double &Y) : x(X), y(Y) {}

  double x;
  double y;
};

#endif
