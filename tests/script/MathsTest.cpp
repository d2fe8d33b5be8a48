#include <gtest/gtest.h>

#include <cmath>

#include "script/Maths.h"
#include "script/Random.h"

namespace {

void expectQuat(Quaternion a, Quaternion b, float eps = 1e-5f) {
    EXPECT_NEAR(a.x, b.x, eps);
    EXPECT_NEAR(a.y, b.y, eps);
    EXPECT_NEAR(a.z, b.z, eps);
    EXPECT_NEAR(a.w, b.w, eps);
}

Quaternion axisAngle(Vec3 axis, float degrees) {
    axis = normalize(axis);
    float h = degrees * 3.14159265f / 360.0f;
    return Quaternion{axis.x * std::sin(h), axis.y * std::sin(h), axis.z * std::sin(h), std::cos(h)};
}

}  // namespace

TEST(Vectors, ArithmeticAndZeroVector) {
    Vec3 c = cross(Vec3{1, 0, 0}, Vec3{0, 1, 0});
    EXPECT_EQ(c.x, 0);
    EXPECT_EQ(c.y, 0);
    EXPECT_EQ(c.z, 1);
    EXPECT_FLOAT_EQ(length(Vec3{3, 4, 12}), 13);
    Vec3 n = normalize(Vec3{0, 0, -7});
    EXPECT_FLOAT_EQ(n.z, -1);
    // The zero vector has no direction: it stays zero instead of becoming NaN.
    Vec3 z = normalize(Vec3{0, 0, 0});
    EXPECT_EQ(z.x, 0);
    EXPECT_EQ(z.y, 0);
    EXPECT_EQ(z.z, 0);
    Vec3 d = divide(Vec3{1, 2, 3}, 3);
    EXPECT_EQ(d.x, 1.0f / 3.0f);
    Vec3 s = 2.0f * Vec3{1, -2, 3} - Vec3{1, 1, 1};
    EXPECT_EQ(s.x, 1);
    EXPECT_EQ(s.y, -5);
    EXPECT_EQ(s.z, 5);
}

TEST(Curves, HermiteEndsAndMiddle) {
    Vec3 p0{1, 2, 3}, p1{-4, 5, 9}, t0{10, -3, 2}, t1{7, 7, -7};
    Vec3 a = hermite(p0, p1, t0, t1, 0);
    Vec3 b = hermite(p0, p1, t0, t1, 1);
    EXPECT_FLOAT_EQ(a.x, 1);
    EXPECT_FLOAT_EQ(a.z, 3);
    EXPECT_FLOAT_EQ(b.x, -4);
    EXPECT_FLOAT_EQ(b.z, 9);
    // Tangents equal to the chord give a straight, evenly paced line.
    Vec3 chord = p1 - p0;
    Vec3 m = hermite(p0, p1, chord, chord, 0.25f);
    EXPECT_NEAR(m.x, p0.x + 0.25f * chord.x, 1e-5);
    EXPECT_NEAR(m.y, p0.y + 0.25f * chord.y, 1e-5);
}

TEST(Curves, SlerpCases) {
    Quaternion q = axisAngle(Vec3{1, 2, 3}, 50);
    for (float t : {-1.0f, 0.0f, 0.3f, 1.0f, 2.0f}) expectQuat(slerp(q, q, t), q);
    // q and -q are the same rotation: the sign correction makes them equal.
    expectQuat(slerp(q, negate(q), 0.5f), q);
    Quaternion r = axisAngle(Vec3{0, 1, 0}, 80);
    expectQuat(slerp(q, r, 0), q);
    expectQuat(slerp(q, r, 1), r);
    Quaternion far = negate(axisAngle(Vec3{0, 0, 1}, 30));
    Quaternion id{0, 0, 0, 1};
    expectQuat(slerp(id, far, 1), negate(far));
    // Halfway between two rotations about one axis is the half angle.
    Quaternion z0 = axisAngle(Vec3{0, 0, 1}, 20), z1 = axisAngle(Vec3{0, 0, 1}, 100);
    expectQuat(slerp(z0, z1, 0.5f), axisAngle(Vec3{0, 0, 1}, 60));
    // Extrapolation continues along the same arc.
    expectQuat(slerp(z0, z1, -0.25f), axisAngle(Vec3{0, 0, 1}, 0));
    // A zero quaternion scales its partner: sin(t * 90 degrees) * q.
    Quaternion s = slerp(Quaternion{0, 0, 0, 0}, z1, 0.5f);
    expectQuat(s, Quaternion{z1.x * 0.70710678f, z1.y * 0.70710678f, z1.z * 0.70710678f,
                             z1.w * 0.70710678f});
    // Longer than unit: no NaN.
    Quaternion big = slerp(Quaternion{0, 0, 0, 2}, Quaternion{0, 0, 0, 2}, 0.5f);
    EXPECT_FALSE(std::isnan(big.w));
}

TEST(Curves, BezierSlerpEnds) {
    Quaternion q0 = axisAngle(Vec3{1, 0, 0}, 10), c0 = axisAngle(Vec3{1, 1, 0}, 40);
    Quaternion c1 = axisAngle(Vec3{0, 1, 1}, 70), q1 = axisAngle(Vec3{0, 0, 1}, 90);
    expectQuat(bezierSlerp(q0, c0, c1, q1, 0), q0);
    expectQuat(bezierSlerp(q0, c0, c1, q1, 1), q1);
    // With all controls on one arc the curve stays on it.
    Quaternion a = axisAngle(Vec3{0, 0, 1}, 0), b = axisAngle(Vec3{0, 0, 1}, 30);
    Quaternion c = axisAngle(Vec3{0, 0, 1}, 60), d = axisAngle(Vec3{0, 0, 1}, 90);
    expectQuat(bezierSlerp(a, b, c, d, 0.5f), axisAngle(Vec3{0, 0, 1}, 45));
}

TEST(Curves, MatrixAxes) {
    float m[16];
    toMatrix(Quaternion{0, 0, 0, 1}, m);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(m[i], (i % 5 == 0) ? 1.0f : 0.0f) << i;
    // 90 degrees about z: x goes to y, z stays.
    toMatrix(axisAngle(Vec3{0, 0, 1}, 90), m);
    EXPECT_NEAR(m[0], 0, 1e-6);
    EXPECT_NEAR(m[4], 1, 1e-6);
    EXPECT_NEAR(m[8], 0, 1e-6);
    EXPECT_NEAR(m[10], 1, 1e-6);
    // 90 degrees about y: x goes to -z.
    toMatrix(axisAngle(Vec3{0, 1, 0}, 90), m);
    EXPECT_NEAR(m[8], -1, 1e-6);
}

TEST(Curves, EaseProfile) {
    for (float t : {0.0f, 0.2f, 0.77f, 1.0f}) EXPECT_EQ(ease(t, 0, 0), t);
    EXPECT_NEAR(ease(0.5f, 0.25f, 0.25f), 0.5f, 1e-6);
    EXPECT_NEAR(ease(1, 0.25f, 0.25f), 1, 1e-6);
    EXPECT_NEAR(ease(0, 0.3f, 0.1f), 0, 1e-6);
    for (float t : {0.1f, 0.4f, 0.6f, 0.95f}) EXPECT_NEAR(ease(t, 0.8f, 0.8f), ease(t, 0.5f, 0.5f), 1e-6);
    // The pieces meet at t = a and t = 1 - b.
    EXPECT_NEAR(ease(0.3f - 1e-4f, 0.3f, 0.2f), ease(0.3f, 0.3f, 0.2f), 1e-3);
    EXPECT_NEAR(ease(0.8f - 1e-4f, 0.3f, 0.2f), ease(0.8f, 0.3f, 0.2f), 1e-3);
    // No deceleration share: the end is 1, not a division by zero.
    EXPECT_EQ(ease(1, 0.5f, 0), 1);
    EXPECT_NEAR(ease(0.99f, 0.5f, 0), (2 * 0.99f - 0.5f) / 1.5f, 1e-5);
    float previous = 0;
    for (int i = 1; i <= 100; ++i) {
        float v = ease(i / 100.0f, 0.2f, 0.4f);
        EXPECT_GE(v, previous);
        previous = v;
    }
}

TEST(RandomGenerator, SequenceAndScaling) {
    seedRandom(1);
    // The first draws of this generator from state 1.
    EXPECT_EQ(randomDraw(), 41);
    EXPECT_EQ(randomDraw(), 18467);
    EXPECT_EQ(randomDraw(), 6334);
    seedRandom(12345);
    std::uint32_t s = 12345u * 214013u + 2531011u;
    EXPECT_EQ(randomDraw(), int((s >> 16) & 0x7fff));
    EXPECT_EQ(randomState(), s);
    for (int i = 0; i < 2000; ++i) {
        int r = randomPick(3.8f);
        EXPECT_GE(r, 0);
        EXPECT_LE(r, 3);
        float f = randomFraction();
        EXPECT_GE(f, 0);
        EXPECT_LE(f, 1);
    }
    seedRandom(1);
}
