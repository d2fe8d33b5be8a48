#include <gtest/gtest.h>

#include "app/OpeningChoice.h"

namespace {

TEST(OpeningChoice, RangesAndTheTopOfTheRange) {
    OpeningChoice low = chooseOpening(0, 0, 0);
    EXPECT_EQ(low.sceneNumber, 0);
    EXPECT_EQ(low.world, 0);
    EXPECT_EQ(low.variant, 0);
    OpeningChoice top = chooseOpening(32767, 32767, 32767);
    EXPECT_EQ(top.sceneNumber, 3);
    EXPECT_EQ(top.world, 2);
    EXPECT_EQ(top.variant, 3);
    EXPECT_STREQ(kOpeningWorlds[top.world], "red_galaxy");
    EXPECT_STREQ(kOpeningWorlds[0], "blue_galaxy");
    EXPECT_STREQ(kOpeningWorlds[1], "green_galaxy");

    // Every value is reachable, each over a contiguous run of draws, never beyond the top.
    int counts[4] = {};
    int previous = 0;
    for (int r = 0; r <= 32767; ++r) {
        int n = scaleDraw(r, 3.9f);
        ASSERT_GE(n, previous);
        previous = n;
        counts[n]++;
    }
    for (int count : counts) EXPECT_GT(count, 0);
    // 3.9 and 3.8 leave the top value a smaller share than the others.
    EXPECT_LT(counts[3], counts[0]);
    EXPECT_EQ(scaleDraw(16384, 2.9f), 1);
    EXPECT_EQ(scaleDraw(32766, 3.8f), 3);
    EXPECT_EQ(scaleDraw(28000, 3.8f), 3);
    EXPECT_EQ(scaleDraw(25000, 3.8f), 2);
}

TEST(OpeningChoice, DrawsOutsideTheRangeStayInside) {
    OpeningChoice choice = chooseOpening(100000, 70000, -5);
    EXPECT_EQ(choice.sceneNumber, 3);
    EXPECT_EQ(choice.world, 2);
    EXPECT_EQ(choice.variant, 0);
}

}  // namespace
