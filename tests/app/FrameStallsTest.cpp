#include "app/FrameStalls.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A frame three times its neighbours is a stall; a scene that simply costs twice as much
// from some frame on is not, nor is a frame at exactly twice its neighbours.
TEST(FrameStalls, FramesAreHeldAgainstTheirNeighbours) {
    EXPECT_EQ(medianFrame({}), 0);
    EXPECT_FLOAT_EQ(float(medianFrame({0.004f, 0.001f, 0.009f})), 0.004f);
    EXPECT_EQ(localStalls({}).overTwice, 0u);
    // Frames too short for the clock give no median to hold a frame against.
    EXPECT_EQ(localStalls({0, 0, 0.004f, 0, 0}).overTwice, 0u);

    std::vector<float> frames(200, 0.005f);
    for (std::size_t i = 100; i < frames.size(); ++i) frames[i] = 0.010f;  // a dearer scene
    FrameStalls steady = localStalls(frames);
    EXPECT_EQ(steady.overTwice, 0u);
    EXPECT_LE(steady.worst, 2.0);

    frames[50] = 0.010f;  // twice: not over
    EXPECT_EQ(localStalls(frames).overTwice, 0u);
    frames[150] = 0.030f;  // three times the dearer scene's frames
    FrameStalls one = localStalls(frames);
    EXPECT_EQ(one.overTwice, 1u);
    EXPECT_NEAR(one.worst, 3.0, 1e-6);
    // Far from the change, a frame meets only its own scene's median.
    frames[20] = 0.0101f;
    EXPECT_EQ(localStalls(frames).overTwice, 2u);
}

}  // namespace
