#ifndef VECTOR3_H
#define VECTOR3_H

class TVector3
{
public:
  TVector3() : x(0.0), y(0.0), z(0.0) {}
  double x;
  double y;
  double z;
};

#endif
