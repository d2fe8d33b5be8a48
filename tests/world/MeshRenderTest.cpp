#include <gtest/gtest.h>

#include <cmath>

#include "world/ObjectAnimation.h"

namespace {
KeyframeTrack trackAt(std::initializer_list<float> times) {
    KeyframeTrack track;
    for (float t : times) {
        Keyframe k;
        k.time = t;
        track.keys.push_back(k);
    }
    return track;
}
}  // namespace

TEST(MeshAnimation, TrackSearchIncludesBothEnds) {
    MeshTrackSample s;
    EXPECT_FALSE(findMeshSegment(KeyframeTrack{}, 1, s));
    KeyframeTrack track = trackAt({2, 5, 9});
    EXPECT_FALSE(findMeshSegment(track, 1.5f, s));  // first key still ahead: stay put
    ASSERT_TRUE(findMeshSegment(track, 2, s));
    EXPECT_EQ(s.k0, &track.keys[0]);
    EXPECT_FLOAT_EQ(s.time, 2);
    ASSERT_TRUE(findMeshSegment(track, 5, s));  // inclusive end: the earlier pair wins
    EXPECT_EQ(s.k0, &track.keys[0]);
    EXPECT_EQ(s.k1, &track.keys[1]);
    ASSERT_TRUE(findMeshSegment(track, 7, s));
    EXPECT_EQ(s.k0, &track.keys[1]);
    ASSERT_TRUE(findMeshSegment(track, 9, s));
    EXPECT_EQ(s.k1, &track.keys[2]);
    ASSERT_TRUE(findMeshSegment(track, 9.5f, s));  // past the end: first pair at time 0
    EXPECT_EQ(s.k0, &track.keys[0]);
    EXPECT_EQ(s.k1, &track.keys[1]);
    EXPECT_FLOAT_EQ(s.time, 0);
    KeyframeTrack single = trackAt({0});
    ASSERT_TRUE(findMeshSegment(single, 3, s));
    EXPECT_EQ(s.k0, &single.keys[0]);
    EXPECT_EQ(s.k1, &single.keys[0]);
}

TEST(MeshAnimation, AxesFromOrientation) {
    Vec3 look, right;
    axesFromOrientation(Quaternion{0, 0, 0, 1}, look, right);
    EXPECT_FLOAT_EQ(look.x, 1);
    EXPECT_FLOAT_EQ(right.y, -1);
    // A quarter turn about z takes x to y: look turns to +y, right to +x.
    float h = std::sqrt(0.5f);
    axesFromOrientation(Quaternion{0, 0, h, h}, look, right);
    EXPECT_NEAR(look.x, 0, 1e-6f);
    EXPECT_NEAR(look.y, 1, 1e-6f);
    EXPECT_NEAR(right.x, 1, 1e-6f);
    EXPECT_NEAR(right.y, 0, 1e-6f);
}
