#include <gtest/gtest.h>

#include <cmath>

#include "script/Camera.h"
#include "script/Maths.h"

namespace {

struct Marker : WorldObject {
    explicit Marker(Vec3 p) { position = p; }
    void render(const Camera&) override {}
    void update(double) override {}
};

Keyframe key(float time, Vec3 position, Quaternion rotation = {0, 0, 0, 1}) {
    Keyframe k;
    k.time = time;
    k.position = position;
    k.rotation = rotation;
    return k;
}

class CameraFixture : public ::testing::Test {
protected:
    void SetUp() override { resetSceneState(); }
    void TearDown() override { resetSceneState(); }
};

}  // namespace

TEST_F(CameraFixture, FollowsTrackAndWraps) {
    camera.track.keys = {key(0, {0, 0, 0}), key(10, {100, 0, 0})};
    prepareTrack(camera.track);
    sceneClock = 2.5f;
    camera.updateCamera();
    EXPECT_NEAR(camera.position.x, 25, 1e-4);
    EXPECT_FALSE(camera.sceneEnded);
    EXPECT_EQ(camera.time, 2.5);
    // Identity orientation: the view runs along +x with +z up.
    EXPECT_NEAR(camera.direction.x, 1, 1e-6);
    EXPECT_NEAR(camera.up.z, 1, 1e-6);
    // Passing the last key wraps: first segment at time 0, the scene ends, the clock resets.
    sceneClock = 10.2f;
    camera.updateCamera();
    EXPECT_TRUE(camera.sceneEnded);
    EXPECT_EQ(sceneClock, 0);
    EXPECT_EQ(camera.time, 0);
    EXPECT_NEAR(camera.position.x, 0, 1e-6);
}

TEST_F(CameraFixture, EmptyTrackAndFreeze) {
    camera.position = Vec3{1, 2, 3};
    camera.time = 4;
    sceneClock = 50;
    camera.updateCamera();
    EXPECT_EQ(camera.position.y, 2);
    EXPECT_EQ(camera.time, 4);  // the time stays what the last scene left
    EXPECT_FALSE(camera.sceneEnded);

    float h = 3.14159265f / 4;  // 90 degrees about z: the view turns to +y
    camera.track.keys = {key(0, {0, 0, 0}, {0, 0, std::sin(h), std::cos(h)}), key(5, {5, 0, 0}),
                         key(10, {5, 5, 0})};
    camera.track.keys[1].freeze = true;
    prepareTrack(camera.track);
    sceneClock = 4.99f;
    camera.updateCamera();
    Vec3 before = camera.direction;
    sceneClock = 7;
    camera.updateCamera();
    EXPECT_EQ(camera.position.x, 5);
    EXPECT_EQ(camera.position.y, 0);
    EXPECT_EQ(camera.direction.x, before.x);
    EXPECT_EQ(camera.direction.y, before.y);
}

TEST_F(CameraFixture, LookModes) {
    Marker a(Vec3{0, 0, 0});
    Marker b(Vec3{0, 0, -10});
    camera.position = Vec3{5, 5, 5};
    camera.up = Vec3{0, 1, 0};
    camera.crossFrom = &a;
    camera.crossTo = &b;
    camera.crossDistance = 50;
    camera.applyLookModes();
    EXPECT_NEAR(camera.position.z, 50, 1e-5);
    EXPECT_NEAR(camera.position.x, 0, 1e-6);
    EXPECT_NEAR(camera.direction.z, -1, 1e-6);
    EXPECT_EQ(camera.up.y, 1);

    // Orient follows a moving target in the same frame; crosslook, applied last, wins.
    camera.crossFrom = camera.crossTo = nullptr;
    Marker target(Vec3{0, 10, 0});
    camera.orientTarget = &target;
    camera.position = Vec3{0, 0, 0};
    camera.applyLookModes();
    EXPECT_NEAR(camera.direction.y, 1, 1e-6);
    target.position = Vec3{-3, 0, 0};
    camera.applyLookModes();
    EXPECT_NEAR(camera.direction.x, -1, 1e-6);
    camera.crossFrom = &a;
    camera.crossTo = &b;
    camera.applyLookModes();
    EXPECT_NEAR(camera.direction.z, -1, 1e-6);

    // Degenerate geometry keeps a usable direction.
    Marker same(Vec3{0, 0, 0});
    camera.crossTo = &same;
    camera.direction = Vec3{0, 0, -1};
    camera.applyLookModes();
    EXPECT_FALSE(std::isnan(camera.direction.x));
    EXPECT_NEAR(length(camera.direction), 1, 1e-6);
    EXPECT_FALSE(std::isnan(camera.position.z));
    camera.crossFrom = camera.crossTo = nullptr;
    target.position = camera.position;
    camera.applyLookModes();
    EXPECT_NEAR(length(camera.direction), 1, 1e-6);
}

TEST_F(CameraFixture, PickVariant) {
    variantCounter = 7;
    EXPECT_EQ(pickVariant(0), 0);
    EXPECT_EQ(pickVariant(1), 1);
    EXPECT_EQ(pickVariant(3), 3);
    EXPECT_EQ(pickVariant(2), 1);
    EXPECT_EQ(pickVariant(10), 7);
    for (int c = 0; c <= 10; ++c) {
        variantCounter = c;
        for (int n = 1; n <= 4; ++n) EXPECT_EQ(pickVariant(n), c % (n + 1));
    }
    // A negative count would never finish: it picks 0.
    EXPECT_EQ(pickVariant(-3), 0);
}
