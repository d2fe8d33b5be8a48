#include <gtest/gtest.h>

#include <cmath>

#include "script/KeyframeTrack.h"
#include "script/Maths.h"

namespace {

Keyframe key(float time, Vec3 position, Quaternion rotation = {0, 0, 0, 1}) {
    Keyframe k;
    k.time = time;
    k.position = position;
    k.rotation = rotation;
    return k;
}

Quaternion aboutZ(float degrees) {
    float h = degrees * 3.14159265f / 360.0f;
    return Quaternion{0, 0, std::sin(h), std::cos(h)};
}

}  // namespace

TEST(TrackPreparation, TwoKeysGiveAStraightPath) {
    KeyframeTrack track;
    track.keys = {key(0, {0, 0, 0}), key(10, {10, -20, 40})};
    track.keys[0].gradient = Vec3{99, 99, 99};  // a "gradient" line is always replaced
    prepareTrack(track);
    EXPECT_EQ(track.keys[0].gradient.x, 10);
    EXPECT_EQ(track.keys[1].gradient.z, 40);
    for (float t : {0.0f, 2.5f, 5.0f, 9.0f}) {
        TrackPoint p = evaluateSegment(track.keys[0], track.keys[1], t);
        EXPECT_NEAR(p.position.x, t, 1e-4);
        EXPECT_NEAR(p.position.y, -2 * t, 1e-4);
        EXPECT_NEAR(p.position.z, 4 * t, 1e-4);
    }
}

TEST(TrackPreparation, MiddleGradientAndControls) {
    KeyframeTrack track;
    track.keys = {key(0, {0, 0, 0}, aboutZ(0)), key(5, {3, 9, 0}, aboutZ(40)),
                  key(10, {10, 4, 2}, aboutZ(80))};
    prepareTrack(track);
    EXPECT_FLOAT_EQ(track.keys[1].gradient.x, 5);
    EXPECT_FLOAT_EQ(track.keys[1].gradient.y, 2);
    EXPECT_FLOAT_EQ(track.keys[1].gradient.z, 1);
    // Rotations evenly spread about one axis: the controls stay on that arc, and the
    // orientation at each key is the key's rotation.
    TrackPoint a = evaluateSegment(track.keys[0], track.keys[1], 0);
    TrackPoint b = evaluateSegment(track.keys[0], track.keys[1], 5);
    EXPECT_NEAR(a.orientation.z, aboutZ(0).z, 1e-5);
    EXPECT_NEAR(b.orientation.z, aboutZ(40).z, 1e-5);
    EXPECT_NEAR(b.orientation.w, aboutZ(40).w, 1e-5);
    TrackPoint m = evaluateSegment(track.keys[1], track.keys[2], 7.5f);
    EXPECT_NEAR(m.orientation.z, aboutZ(60).z, 1e-4);
    // First key's outControl one third towards the second; last key's inControl one
    // third back towards the one before.
    EXPECT_NEAR(track.keys[0].outControl.z, aboutZ(40.0f / 3).z, 1e-5);
    EXPECT_NEAR(track.keys[2].inControl.z, aboutZ(80 - 40.0f / 3).z, 1e-5);
}

TEST(TrackLocation, SegmentsWrapAndGuards) {
    KeyframeTrack track;
    track.keys = {key(0, {0, 0, 0}), key(5, {5, 0, 0}), key(10, {10, 0, 0})};
    prepareTrack(track);
    TrackSegment s = locateSegment(track, 5);
    EXPECT_EQ(s.k0, &track.keys[1]);
    EXPECT_FALSE(s.wrapped);
    s = locateSegment(track, 4.99f);
    EXPECT_EQ(s.k0, &track.keys[0]);
    s = locateSegment(track, 10);
    EXPECT_TRUE(s.wrapped);
    EXPECT_EQ(s.k0, &track.keys[0]);
    EXPECT_EQ(s.k1, &track.keys[1]);
    // A first key at 2: time 1 already wraps.
    track.keys[0].time = 2;
    EXPECT_TRUE(locateSegment(track, 1).wrapped);

    // Empty and single-key tracks: nothing past the list is read, and nothing wraps.
    KeyframeTrack empty;
    prepareTrack(empty);
    EXPECT_EQ(locateSegment(empty, 3).k0, nullptr);
    KeyframeTrack one;
    one.keys = {key(4, {1, 2, 3})};
    prepareTrack(one);
    s = locateSegment(one, 100);
    EXPECT_FALSE(s.wrapped);
    ASSERT_EQ(s.k0, &one.keys[0]);
    TrackPoint p = evaluateSegment(*s.k0, *s.k1, 100);
    EXPECT_EQ(p.position.x, 1);
    EXPECT_EQ(p.position.z, 3);

    // Equal key times: no division by zero, the segment starts at its first key.
    KeyframeTrack same;
    same.keys = {key(3, {1, 0, 0}), key(3, {2, 0, 0})};
    prepareTrack(same);
    s = locateSegment(same, 3);
    EXPECT_TRUE(s.wrapped);
    p = evaluateSegment(*s.k0, *s.k1, 0);
    EXPECT_TRUE(std::isfinite(p.position.x));
    EXPECT_EQ(p.position.x, 1);
}
