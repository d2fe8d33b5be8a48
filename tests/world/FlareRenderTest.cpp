#include <gtest/gtest.h>

#include <cmath>

#include "script/Random.h"
#include "world/ObjectAnimation.h"

TEST(FlareAnimation, FadesTowardsTheLastOcclusionResult) {
    float alpha = 0;
    for (int i = 0; i < 10; ++i) alpha = fadeFlareAlpha(alpha, true, 0.01, 6, 6);
    EXPECT_NEAR(alpha, 0.6f, 1e-5f);
    alpha = fadeFlareAlpha(alpha, true, 1.0, 6, 6);
    EXPECT_FLOAT_EQ(alpha, 1);  // clamped
    // Hidden: from full opacity it takes 1/fadeOut seconds to vanish.
    alpha = fadeFlareAlpha(alpha, false, 0.1, 6, 2);
    EXPECT_NEAR(alpha, 0.8f, 1e-5f);
    alpha = fadeFlareAlpha(alpha, false, 0.5, 6, 2);
    EXPECT_FLOAT_EQ(alpha, 0);
    EXPECT_FLOAT_EQ(fadeFlareAlpha(0, false, 0.1, 6, 2), 0);
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

#include "support/RenderKit.h"
#include "world/Flare.h"
#include "world/Sphere.h"

namespace {

Flare makeFlare(unsigned texture, Vec3 position) {
    Flare f;
    f.texture = texture;
    f.hasTexture = true;
    f.position = position;
    f.size = 10;
    return f;
}

// One frame of a flare: its occlusion test and glow, then its update.
void flareFrame(RenderKit& kit, const Camera& camera, Flare& flare, Sphere* before, double dt) {
    kit.beginFrame(camera);
    if (before) before->render(camera);
    flare.render(camera);
    expectShowStateKept("flare");
    flare.update(dt);
}

}  // namespace

TEST(FlareRender, ShowsWhereItsPixelIsClearAndFadesBehindASphere) {
    RenderKit kit;
    ASSERT_TRUE(kit.gl.ok());
    Camera camera;
    placeCamera(camera, make(0, 0, 10));
    unsigned white = solidTexture(255, 255, 255);
    Flare flare = makeFlare(white, make(0, 0, 0));
    flare.spin = 0;

    flareFrame(kit, camera, flare, nullptr, 0.5);  // alpha 0: tested, not drawn
    EXPECT_TRUE(flare.seen);
    EXPECT_FLOAT_EQ(flare.alpha, 1);
    kit.beginFrame(camera);
    flare.render(camera);
    auto pixels = kit.pixels();
    EXPECT_GT(RenderKit::brightness(pixels, 160, 120), 700);  // the glow at its pixel
    EXPECT_GT(RenderKit::brightness(pixels, 167, 127), 700);  // 10 pixels each way
    EXPECT_EQ(RenderKit::brightness(pixels, 175, 120), 0);

    // An opaque sphere drawn first hides it; the glow fades at 6 per second.
    Sphere wall;
    wall.displayList = compileTestMesh(squareMesh());
    wall.texture = solidTexture(0, 0, 255);
    wall.hasTexture = true;
    wall.unlit = true;
    wall.orientAngle = 0;
    wall.radius = 3;
    wall.position = make(0, 0, 5);
    flareFrame(kit, camera, flare, &wall, 0.1);
    EXPECT_FALSE(flare.seen);
    EXPECT_NEAR(flare.alpha, 0.4f, 1e-4f);
    kit.beginFrame(camera);
    wall.render(camera);
    flare.render(camera);
    pixels = kit.pixels();
    int dimmed = RenderKit::at(pixels, 160, 120)[0];
    EXPECT_GT(dimmed, 60);   // still fading out: 0.4 of the glow over the blue
    EXPECT_LT(dimmed, 140);
    flareFrame(kit, camera, flare, &wall, 0.1);
    EXPECT_FLOAT_EQ(flare.alpha, 0);
    kit.beginFrame(camera);
    wall.render(camera);
    flare.render(camera);
    EXPECT_EQ(RenderKit::at(kit.pixels(), 160, 120)[0], 0);  // only the blue wall
}

TEST(FlareRender, HiddenInTheBarsBehindTheViewerAndOffScreen) {
    RenderKit kit;
    ASSERT_TRUE(kit.gl.ok());
    Camera camera;
    placeCamera(camera, make(0, 0, 10));
    unsigned white = solidTexture(255, 255, 255);
    struct Case {
        const char* what;
        Vec3 position;
    } cases[] = {
        {"top band", make(0, 5, 0)},        // projects to about row 220 of 240
        {"bottom band", make(0, -5, 0)},
        {"behind the viewer", make(0, 0, 30)},
        {"left of the window", make(-40, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Flare flare = makeFlare(white, c.position);
        flare.alpha = 1;
        flare.seen = true;
        flareFrame(kit, camera, flare, nullptr, 0.05);
        EXPECT_FALSE(flare.seen);
        EXPECT_NEAR(flare.alpha, 0.7f, 1e-4f);
    }
    // In the eye plane there is no projection: the last result stands.
    Flare beside = makeFlare(white, make(5, 0, 10));
    beside.alpha = 1;
    beside.seen = true;
    flareFrame(kit, camera, beside, nullptr, 0.05);
    EXPECT_TRUE(beside.seen);
    // Inside the letterbox rows it shows.
    Flare inside = makeFlare(white, make(0, 4, 0));
    flareFrame(kit, camera, inside, nullptr, 0.05);
    EXPECT_TRUE(inside.seen);
}

TEST(FlareRender, EnvironmentFlareWithLensAndFocus) {
    RenderKit kit;
    ASSERT_TRUE(kit.gl.ok());
    Camera camera;
    placeCamera(camera, make(100, 20, -50));
    unsigned white = solidTexture(255, 255, 255);
    Flare flare = makeFlare(white, make(0, 0, 0));
    flare.isEnv = true;
    flare.offset = make(0, 0, -10);
    flare.hasLens = true;
    flare.lensSize = 20;
    for (unsigned& t : flare.lensTextures) t = white;
    flare.hasFocus = true;
    flare.focus = 1;  // all or nothing: straight ahead, so full
    flare.hasOrient = true;
    flare.orient = make(160, 120, 0);
    flareFrame(kit, camera, flare, nullptr, 0.5);
    EXPECT_TRUE(flare.seen);
    kit.beginFrame(camera);
    flare.render(camera);
    expectShowStateKept("lens");
    auto pixels = kit.pixels();
    EXPECT_GT(RenderKit::brightness(pixels, 160, 120), 700);
    EXPECT_FLOAT_EQ(flare.position.z, camera.eye.z - 10);

    // A parent hidden by the scene: neither tested nor drawn.
    Sphere parent;
    parent.visible = false;
    Flare child = makeFlare(white, make(0, 0, 0));
    child.parent = &parent;
    child.alpha = 1;
    child.seen = true;
    kit.beginFrame(camera);
    child.render(camera);
    expectShowStateKept("hidden parent");
    EXPECT_TRUE(child.seen);
    EXPECT_EQ(RenderKit::totalLight(kit.pixels()), 0);
}
