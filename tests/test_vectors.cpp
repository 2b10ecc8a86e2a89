#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>

#include "vector2.h"
#include "vector3.h"

namespace
{
using T2 = std::tuple<double, double>;
using T3 = std::tuple<double, double, double>;
const double epsilon = std::numeric_limits<double>::epsilon();
const char *short_length =
    "Assertion `Length > std::numeric_limits<double>::epsilon\\(\\)' failed";
const char *small_divisor =
    "Assertion `d > std::numeric_limits<double>::epsilon\\(\\)' failed";

T2 Parts(const TVector2 &v) { return T2(v.x, v.y); }
T3 Parts(const TVector3 &v) { return T3(v.x, v.y, v.z); }
} // namespace

TEST(Vector2Test, ArithmeticWithScalarsAndVectors)
{
  const TVector2 v(1.0, 2.0);
  const TVector2 w(0.5, -3.0);
  EXPECT_EQ(Parts(5.0 - v), T2(4.0, 3.0));
  EXPECT_EQ(Parts(v - 5.0), T2(-4.0, -3.0));
  EXPECT_EQ(Parts(5.0 + v), T2(6.0, 7.0));
  EXPECT_EQ(Parts(v + 5.0), T2(6.0, 7.0));
  EXPECT_EQ(Parts(3.0 * v), T2(3.0, 6.0));
  EXPECT_EQ(Parts(v * 3.0), T2(3.0, 6.0));
  EXPECT_EQ(Parts(v + w), T2(1.5, -1.0));
  EXPECT_EQ(Parts(w - v), T2(-0.5, -5.0));
  EXPECT_EQ(Dot(v, w), -5.5);
}

TEST(Vector2Test, DivisorMustBePositiveAndAboveEpsilon)
{
  const TVector2 v(3.0, 4.0);
  EXPECT_EQ(Parts(v / 2.0), T2(1.5, 2.0));
  EXPECT_EQ(std::get<0>(Parts(v / (2.0 * epsilon))), 3.0 / (2.0 * epsilon));
  for (const double d : {-2.0, 0.0, epsilon})
    EXPECT_DEATH(v / d, std::string("vector2\\.h:.*") + small_divisor) << d;
}

TEST(Vector2Test, NormalizeScalesInPlaceAndChains)
{
  TVector2 v(3.0, 4.0);
  EXPECT_EQ(&v.Normalize(), &v);
  EXPECT_EQ(Parts(v), T2(0.6, 0.8));
  EXPECT_EQ(Parts(TVector2(0.0, -2.0).Normalize().Normalize()), T2(0.0, -1.0));
  EXPECT_EQ(Parts(TVector2(2.0 * epsilon, 0.0).Normalize()), T2(1.0, 0.0));

  TVector2 zero;
  EXPECT_EQ(Parts(zero), T2(0.0, 0.0));
  EXPECT_DEATH(zero.Normalize(), std::string("vector2\\.cpp:.*") + short_length);
  TVector2 tiny(epsilon, 0.0);
  EXPECT_DEATH(tiny.Normalize(), short_length);
}

TEST(Vector2Test, IndexReadsAndWritesComponents)
{
  TVector2 v(1.0, 2.0);
  const TVector2 &fixed = v;
  EXPECT_EQ(T2(fixed[0], fixed[1]), T2(1.0, 2.0));
  v[0] = 7.0;
  EXPECT_EQ(Parts(v), T2(7.0, 2.0));
  EXPECT_DEATH(fixed[2], "vector2\\.cpp:.*Assertion `false' failed");
}

TEST(Vector3Test, ArithmeticNormalizeAndIndex)
{
  const TVector3 v(1.0, 2.0, 3.0);
  const TVector3 w(4.0, 5.0, 6.0);
  EXPECT_EQ(Parts(5.0 - v), T3(4.0, 3.0, 2.0));
  EXPECT_EQ(Parts(v + 5.0), T3(6.0, 7.0, 8.0));
  EXPECT_EQ(Parts(2.0 * v - w), T3(-2.0, -1.0, 0.0));
  EXPECT_EQ(Parts(w / 2.0), T3(2.0, 2.5, 3.0));
  EXPECT_EQ(Dot(v, w), 32.0);
  EXPECT_DEATH(v / -2.0, std::string("vector3\\.h:.*") + small_divisor);

  TVector3 u(2.0, 3.0, 6.0);
  EXPECT_EQ(Parts(u.Normalize()), T3(2.0 / 7.0, 3.0 / 7.0, 6.0 / 7.0));
  EXPECT_DEATH(TVector3().Normalize(),
               std::string("vector3\\.cpp:.*") + short_length);
  u[2] = 9.0;
  const TVector3 &fixed = u;
  EXPECT_EQ(fixed[2], 9.0);
  EXPECT_DEATH(fixed[3], "vector3\\.cpp:.*Assertion `false' failed");
}

TEST(Vector3Test, CrossProducts)
{
  EXPECT_EQ(Parts(Cross(TVector3(1, 0, 0), TVector3(0, 1, 0))), T3(0, 0, 1));
  EXPECT_EQ(Parts(Cross(TVector3(0, 1, 0), TVector3(1, 0, 0))), T3(0, 0, -1));

  // The member form must use the components from before the change, also
  // when crossed with itself; the free form leaves its arguments alone.
  const TVector3 b(1.0, 2.0, 3.0);
  TVector3 a = b;
  EXPECT_EQ(&a.Cross(TVector3(4.0, 5.0, 6.0)), &a);
  EXPECT_EQ(Parts(a), T3(-3.0, 6.0, -3.0));
  EXPECT_EQ(Parts(a.Cross(a)), T3(0.0, 0.0, 0.0));
  EXPECT_EQ(Parts(Cross(b, b)), T3(0.0, 0.0, 0.0));
  EXPECT_EQ(Parts(b), T3(1.0, 2.0, 3.0));
}
