#include <gtest/gtest.h>

#include <limits>
#include <tuple>

#include "vector2.h"
#include "vector3.h"

namespace {
using T2 = std::tuple<double, double>;
using T3 = std::tuple<double, double, double>;
T2 Parts(const TVector2 &v)
{
  return T2(v.x, v.y);
}
T3 Parts(const TVector3 &v)
{
  return T3(v.x, v.y, v.z);
}
}  // namespace

TEST(VectorTest, ScalarsNormalizeIndexAndCross)
{
  TVector2 v(1.0, 2.0);
  EXPECT_EQ(Parts(5.0 - v), T2(4.0, 3.0));
  EXPECT_EQ(Parts(v - 5.0), T2(-4.0, -3.0));
  EXPECT_EQ(Parts(5.0 + v), T2(6.0, 7.0));
  EXPECT_EQ(Parts(v + 5.0), T2(6.0, 7.0));
  EXPECT_EQ(static_cast<const TVector2 &>(v)[1], 2.0);
  v[0] = 7.0;
  EXPECT_EQ(Parts(v), T2(7.0, 2.0));

  TVector2 u(3.0, 4.0);
  EXPECT_EQ(Parts(u / 2.0), T2(1.5, 2.0));
  EXPECT_EQ(&u.Normalize(), &u);
  EXPECT_EQ(Parts(u), T2(0.6, 0.8));

  // Crossing in place must read every component before it writes one.
  EXPECT_EQ(Parts(Cross(TVector3(1, 0, 0), TVector3(0, 1, 0))), T3(0, 0, 1));
  TVector3 a(1.0, 2.0, 3.0);
  EXPECT_EQ(Dot(a, TVector3(4, 5, 6)), 32.0);
  EXPECT_EQ(Parts(Cross(a, TVector3(4, 5, 6))), T3(-3, 6, -3));
  EXPECT_EQ(Parts(a.Cross(a)), T3(0, 0, 0));
}

TEST(VectorDeathTest, PreconditionsAssert)
{
  const TVector2 v(3.0, 4.0);
  for (const double d : {-2.0, 0.0, std::numeric_limits<double>::epsilon()})
    EXPECT_DEATH(v / d, "d > std::numeric_limits<double>::epsilon\\(\\)") << d;
  EXPECT_DEATH(TVector2().Normalize(),
               "vector2\\.cpp:.*Length > std::numeric_limits<double>::epsilon\\(\\)");
  EXPECT_DEATH(v[2], "vector2\\.cpp:.*Assertion `false' failed");
}
