#include <gtest/gtest.h>

#include "world/ObjectAnimation.h"

TEST(FlameAnimation, TrailShrinksAndShades) {
    const float size = 0.8f;
    EXPECT_FLOAT_EQ(flameQuadHalfSize(size, 0), 2 * size);
    for (int i = 1; i < kFlameQuads; ++i) {
        EXPECT_LE(flameQuadHalfSize(size, i), flameQuadHalfSize(size, i - 1)) << i;
        EXPECT_GT(flameQuadHalfSize(size, i), 0) << i;
    }
    EXPECT_LT(flameQuadHalfSize(size, kFlameQuads - 1), 0.02f * 2 * size);
    Vec3 from = make(1, 1, 0), to = make(0, 0, 1);
    Vec3 first = flameQuadColour(from, to, 0);
    EXPECT_FLOAT_EQ(first.x, 1);
    EXPECT_FLOAT_EQ(first.y, 1);
    EXPECT_FLOAT_EQ(first.z, 0);
    Vec3 last = flameQuadColour(from, to, kFlameQuads - 1);
    EXPECT_NEAR(last.x, 1.0f / 30, 1e-6f);
    EXPECT_NEAR(last.z, 29.0f / 30, 1e-6f);
}
