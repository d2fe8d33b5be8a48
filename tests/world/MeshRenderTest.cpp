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

#include "support/RenderKit.h"
#include "world/Flame.h"
#include "world/Mesh.h"

namespace {

// A square mesh turned to face a camera on the +z axis (its frame maps the model's x to
// the look axis, so the model's +z normal is first turned onto x).
Mesh facingMesh(unsigned list, unsigned texture) {
    Mesh m;
    m.displayList = list;
    m.texture = texture;
    m.hasTexture = true;
    m.look = make(0, 0, 1);
    m.right = make(1, 0, 0);
    m.orientAxis = make(0, 1, 0);
    m.orientAngle = 90;
    m.scale = 3;
    return m;
}

}  // namespace

TEST(MeshRender, HiddenMeshIsNotDrawnAndEveryMaterialRestoresState) {
    RenderKit kit;
    ASSERT_TRUE(kit.gl.ok());
    Camera camera;
    placeCamera(camera, make(0, 0, 10));
    Mesh mesh = facingMesh(compileTestMesh(squareMesh()), solidTexture(255, 255, 255));
    mesh.visible = false;
    kit.beginFrame(camera);
    mesh.render(camera);
    expectShowStateKept("hidden");
    EXPECT_EQ(RenderKit::totalLight(kit.pixels()), 0);
    EXPECT_FLOAT_EQ(depthAtPixel(160, 120), 1);

    mesh.visible = true;
    unsigned red = solidTexture(255, 0, 0);
    for (int variant = 0; variant < 16; ++variant) {
        mesh.chrome = variant & 1;
        mesh.metal = variant & 2;
        mesh.additive = variant & 4;
        mesh.hasTexture2 = variant & 8;
        mesh.texture2 = red;
        fogEnabled = variant == 5;
        kit.beginFrame(camera);
        mesh.render(camera);
        expectShowStateKept("visible");
        auto pixels = kit.pixels();
        if (fogEnabled) {
            // The scene's fog (exponential, density 1, black) swallows it at 10 units.
            EXPECT_LT(RenderKit::at(pixels, 160, 120)[0], 20) << variant;
        } else {
            EXPECT_GT(RenderKit::at(pixels, 160, 120)[0], 100) << variant;
        }
        EXPECT_LT(depthAtPixel(160, 120), 1) << variant;
        EXPECT_EQ(RenderKit::brightness(pixels, 10, 120), 0) << variant;
        if (!mesh.hasTexture2 && !fogEnabled) {
            // No second map: unit 1 is neutral white, so the base map shows unchanged in green.
            EXPECT_GT(RenderKit::at(pixels, 160, 120)[1], 100) << variant;
        }
        if (mesh.hasTexture2 && !mesh.additive && !mesh.metal) {  // metal adds a white highlight
            EXPECT_LT(RenderKit::at(pixels, 160, 120)[1], 10) << variant;  // white x red
        }
    }
    fogEnabled = false;
}

TEST(MeshRender, FollowsItsTrackFromTheFirstKey) {
    Mesh mesh;
    mesh.position = make(7, 7, 7);
    mesh.update(0.016);  // no track: stays put
    EXPECT_FLOAT_EQ(mesh.position.x, 7);
    Keyframe a, b;
    a.time = 2;
    a.position = make(0, 0, 0);
    a.rotation = Quaternion{0, 0, 0, 1};
    b.time = 4;
    b.position = make(10, 0, 0);
    b.rotation = Quaternion{0, 0, 0, 1};
    mesh.track.keys = {a, b};
    prepareTrack(mesh.track);
    sceneClock = 1;
    mesh.update(0.016);
    EXPECT_FLOAT_EQ(mesh.position.x, 7);  // the first key is still ahead
    sceneClock = 3;
    mesh.update(0.016);
    EXPECT_NEAR(mesh.position.x, 5, 1e-4f);
    EXPECT_NEAR(mesh.look.x, 1, 1e-6f);
    EXPECT_NEAR(mesh.right.y, -1, 1e-6f);
    sceneClock = 5;  // past the end: the first pair at time 0
    mesh.update(0.016);
    EXPECT_FLOAT_EQ(mesh.trackTime, 0);
    EXPECT_TRUE(std::isfinite(mesh.position.x));
    sceneClock = 0;
}

TEST(FlameRender, DrawsOnlyBehindAVisibleParent) {
    RenderKit kit;
    ASSERT_TRUE(kit.gl.ok());
    Camera camera;
    placeCamera(camera, make(0, 0, 10));
    Mesh ship;
    ship.look = make(0, 0, 1);
    ship.right = make(1, 0, 0);
    Flame flame;
    flame.texture = solidTexture(255, 255, 255);
    flame.hasTexture = true;

    kit.beginFrame(camera);
    flame.render(camera);  // no parent: no frame to draw in
    expectShowStateKept("no parent");
    EXPECT_EQ(RenderKit::totalLight(kit.pixels()), 0);

    flame.parent = &ship;
    ship.visible = false;
    kit.beginFrame(camera);
    flame.render(camera);
    expectShowStateKept("hidden parent");
    EXPECT_EQ(RenderKit::totalLight(kit.pixels()), 0);

    ship.visible = true;
    kit.beginFrame(camera);
    flame.render(camera);
    expectShowStateKept("visible parent");
    auto pixels = kit.pixels();
    // The first quad (half-size 1.6 at distance 10) is yellow: red and green, no blue.
    const unsigned char* centre = RenderKit::at(pixels, 160, 120);
    EXPECT_GT(centre[0], 100);
    EXPECT_GT(centre[1], 100);
    EXPECT_FLOAT_EQ(depthAtPixel(160, 120), 1);  // additive light writes no depth
    EXPECT_EQ(RenderKit::brightness(pixels, 160 + 60, 120), 0);
}
