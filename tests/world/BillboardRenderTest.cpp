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

#include "support/RenderKit.h"
#include "world/Billboard.h"
#include "world/Mesh.h"

TEST(BillboardRender, FacesTheViewerFlashesAndFollowsItsParent) {
    RenderKit kit;
    ASSERT_TRUE(kit.gl.ok());
    Camera camera;
    // Looking along +x with +z up: a quad in the default xy plane would be edge-on.
    placeCamera(camera, make(-10, 0, 0), make(1, 0, 0), make(0, 0, 1));
    Billboard board;
    board.texture = solidTexture(255, 255, 255);
    board.hasTexture = true;
    board.size = 2;
    board.spin = 0;
    kit.beginFrame(camera);
    board.render(camera);
    expectShowStateKept("facing");
    auto pixels = kit.pixels();
    EXPECT_GT(RenderKit::brightness(pixels, 160, 120), 700);
    EXPECT_FLOAT_EQ(depthAtPixel(160, 120), 1);  // writes no depth

    // With "orient off" the fixed quad is seen edge-on and disappears.
    Billboard fixed = board;
    fixed.fixedOrientation = true;
    fixed.up = make(0, 1, 0);
    fixed.right = make(1, 0, 0);
    kit.beginFrame(camera);
    fixed.render(camera);
    expectShowStateKept("fixed");
    EXPECT_LT(RenderKit::totalLight(kit.pixels()), 765 * 60);

    // "flash 0 1 1": nothing in the dark second, the quad in the lit one.
    board.hasFlash = true;
    board.darkTime = 1;
    board.litTime = 1;
    board.update(0.5);
    kit.beginFrame(camera);
    board.render(camera);
    EXPECT_EQ(RenderKit::totalLight(kit.pixels()), 0);
    board.update(1.0);
    kit.beginFrame(camera);
    board.render(camera);
    EXPECT_GT(RenderKit::brightness(kit.pixels(), 160, 120), 700);

    // Attached: placed by the parent's axes, tinted, hidden with it.
    Mesh ship;
    ship.position = make(0, 0, 0);
    ship.look = make(0, 1, 0);
    ship.right = make(1, 0, 0);
    Billboard light;
    light.texture = board.texture;
    light.hasTexture = true;
    light.size = 1;
    light.spin = 0;
    light.parent = &ship;
    light.color = make(1, 0, 0);
    light.offset = make(0, 0, 3);  // 3 along the parent's look: +y, left on screen
    kit.beginFrame(camera);
    light.render(camera);
    expectShowStateKept("attached");
    EXPECT_FLOAT_EQ(light.position.y, 3);
    pixels = kit.pixels();
    int litX = -1;
    for (int x = 0; x < 320 && litX < 0; ++x) if (RenderKit::at(pixels, x, 120)[0] > 100) litX = x;
    EXPECT_GT(litX, 40);
    EXPECT_LT(litX, 160);
    EXPECT_EQ(RenderKit::at(pixels, litX + 5, 120)[1], 0);  // red tint only
    ship.visible = false;
    kit.beginFrame(camera);
    light.render(camera);
    EXPECT_EQ(RenderKit::totalLight(kit.pixels()), 0);
}

TEST(BillboardRender, EnvironmentBillboardSitsAtItsOffsetFromTheViewer) {
    RenderKit kit;
    ASSERT_TRUE(kit.gl.ok());
    Camera camera;
    placeCamera(camera, make(500, 500, 500));
    Billboard sky;
    sky.texture = solidTexture(0, 255, 0);
    sky.hasTexture = true;
    sky.isEnv = true;
    sky.offset = make(0, 0, -100);
    sky.size = 5;
    sky.spin = 0;
    kit.beginFrame(camera);
    sky.render(camera);
    expectShowStateKept("environment billboard");
    EXPECT_GT(RenderKit::at(kit.pixels(), 160, 120)[1], 200);
    EXPECT_FLOAT_EQ(sky.position.z, 400);
}
