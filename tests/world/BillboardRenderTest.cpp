#include <gtest/gtest.h>

#include "world/ObjectAnimation.h"

TEST(BillboardAnimation, FlashCycleIsDarkThenLit) {
    // "flash 0 1 1": dark for the first second, lit for the next, repeating every two.
    float clock = 0;
    int darkFrames = 0, litFrames = 0;
    for (int frame = 0; frame < 400; ++frame) {  // 4 s at 100 fps
        clock = advanceFlashClock(clock, 0.01, 1, 1);
        ASSERT_GE(clock, 0);
        ASSERT_LE(clock, 2.0f + 1e-4f);
        if (flashIsDark(true, clock, 1)) ++darkFrames; else ++litFrames;
    }
    EXPECT_NEAR(darkFrames, 200, 3);
    EXPECT_NEAR(litFrames, 200, 3);
    // 0.5 s into the second cycle is dark again, 1.5 s into it lit.
    EXPECT_TRUE(flashIsDark(true, advanceFlashClock(1.9f, 0.6, 1, 1), 1));
    EXPECT_FALSE(flashIsDark(true, advanceFlashClock(1.9f, 1.6, 1, 1), 1));
    // Without "flash" nothing is ever dark.
    EXPECT_FALSE(flashIsDark(false, 0.2f, 1));
}

TEST(BillboardAnimation, SpinWrapsIntoOneTurn) {
    EXPECT_FLOAT_EQ(wrapDegreesOnce(361), 1);
    EXPECT_FLOAT_EQ(wrapDegreesOnce(-1), 359);
    EXPECT_FLOAT_EQ(wrapDegreesOnce(360), 0);
    EXPECT_FLOAT_EQ(wrapDegreesOnce(12.5f), 12.5f);
}
