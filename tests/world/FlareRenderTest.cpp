#include <gtest/gtest.h>

#include <cmath>

#include "script/Random.h"
#include "world/ObjectAnimation.h"

TEST(FlareAnimation, FadesTowardsTheLastOcclusionResult) {
    float alpha = 0;
    for (int i = 0; i < 10; ++i) alpha = fadeAlpha(alpha, true, 0.01, 6, 6);
    EXPECT_NEAR(alpha, 0.6f, 1e-5f);
    alpha = fadeAlpha(alpha, true, 1.0, 6, 6);
    EXPECT_FLOAT_EQ(alpha, 1);  // clamped
    // Hidden: from full opacity it takes 1/fadeOut seconds to vanish.
    alpha = fadeAlpha(alpha, false, 0.1, 6, 2);
    EXPECT_NEAR(alpha, 0.8f, 1e-5f);
    alpha = fadeAlpha(alpha, false, 0.5, 6, 2);
    EXPECT_FLOAT_EQ(alpha, 0);
    EXPECT_FLOAT_EQ(fadeAlpha(0, false, 0.1, 6, 2), 0);
}

TEST(FlareAnimation, FlickerCyclesStayWithinTheSpread) {
    seedRandom(7);
    for (int i = 0; i < 1000; ++i) {
        FlickerCycle c = nextFlickerCycle(0.5f);
        // hidden for 0.1 .. 0.6 s, then shown for 0.1 .. 0.6 s, at 6 clock units a second
        EXPECT_GE(c.on, 6 * 0.1f - 1e-4f);
        EXPECT_LE(c.on, 6 * 0.6f + 1e-4f);
        float shown = c.end - c.on;
        EXPECT_GE(shown, 6 * 0.1f - 1e-4f);
        EXPECT_LE(shown, 6 * 0.6f + 1e-4f);
    }
    // No spread: fixed 0.1 s phases.
    FlickerCycle fixed = nextFlickerCycle(0);
    EXPECT_NEAR(fixed.on, 0.6f, 1e-5f);
    EXPECT_NEAR(fixed.end, 1.2f, 1e-5f);
}

TEST(FlareAnimation, FocusNarrowsTheGlowWithoutDividingByZero) {
    Vec3 ahead = make(0, 0, -1);
    EXPECT_FLOAT_EQ(focusFactor(make(0, 0, -5), ahead, 0.9f), 1);
    // About 26 degrees off axis with focus 0.9 the glow is gone.
    float a = 26.0f * 3.14159265f / 180;
    EXPECT_NEAR(focusFactor(make(std::sin(a), 0, -std::cos(a)), ahead, 0.9f), 0, 0.01f);
    float b = 15.0f * 3.14159265f / 180;
    float partial = focusFactor(make(std::sin(b), 0, -std::cos(b)), ahead, 0.9f);
    EXPECT_GT(partial, 0.1f);
    EXPECT_LT(partial, 0.9f);
    EXPECT_FLOAT_EQ(focusFactor(make(0, 0, 5), ahead, 0.9f), 0);  // behind: never negative
    // A threshold of 1 and a zero offset stay finite.
    EXPECT_FLOAT_EQ(focusFactor(make(0, 0, -3), ahead, 1), 1);
    EXPECT_FLOAT_EQ(focusFactor(make(1, 0, -3), ahead, 1), 0);
    float zero = focusFactor(make(0, 0, 0), ahead, 0.5f);
    EXPECT_TRUE(std::isfinite(zero));
    EXPECT_FLOAT_EQ(zero, 0);
}

TEST(FlareAnimation, OrientAndLetterboxRows) {
    // Window origin and orient at the centre: zero vectors give no extra spin, not NaN.
    EXPECT_FLOAT_EQ(orientRotation(make(400, 300, 0), 0, 0, 800, 600), 0);
    EXPECT_FLOAT_EQ(orientRotation(make(800, 300, 0), 1, 0, 800, 600), 90);
    EXPECT_FLOAT_EQ(orientRotation(make(0, 300, 0), 1, 0, 800, 600), -90);
    // Rows 75 .. 525 of a 600-row window are the view; the bars' rows are not.
    EXPECT_FALSE(insideLetterboxRows(75, 600));
    EXPECT_TRUE(insideLetterboxRows(75.5f, 600));
    EXPECT_TRUE(insideLetterboxRows(300, 600));
    EXPECT_FALSE(insideLetterboxRows(525, 600));
    EXPECT_FALSE(insideLetterboxRows(10, 600));
}
