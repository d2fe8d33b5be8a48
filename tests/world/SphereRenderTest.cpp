#include <gtest/gtest.h>

#include "support/RenderKit.h"
#include "world/Sphere.h"

namespace {

Sphere makeSphere(unsigned list, unsigned texture, float radius) {
    Sphere s;
    s.displayList = list;
    s.texture = texture;
    s.hasTexture = true;
    s.radius = radius;
    s.orientAngle = 0;
    s.spinSpeed = 0;
    return s;
}

}  // namespace

TEST(SphereRender, EnvironmentSphereNeverWritesDepth) {
    RenderKit kit;
    ASSERT_TRUE(kit.gl.ok());
    Camera camera;
    placeCamera(camera, make(5, -3, 40));
    unsigned cube = compileTestMesh(cubeMesh());
    unsigned square = compileTestMesh(squareMesh());
    unsigned blue = solidTexture(0, 0, 255);

    Sphere sky = makeSphere(cube, blue, 100);
    sky.isEnv = true;
    sky.orientAngle = 120;  // tilted as the default; still encloses the viewer
    sky.position = make(999, 999, 999);  // ignored: the dome follows the viewer
    kit.beginFrame(camera);
    sky.render(camera);
    expectShowStateKept("environment sphere");
    auto pixels = kit.pixels();
    EXPECT_GT(RenderKit::at(pixels, 160, 120)[2], 200);  // the dome shows, unlit
    EXPECT_FLOAT_EQ(depthAtPixel(160, 120), 1.0f);      // and leaves the cleared depth
    EXPECT_FLOAT_EQ(depthAtPixel(20, 50), 1.0f);
    EXPECT_FLOAT_EQ(sky.position.x, camera.position.x);

    // A plain sphere drawn after it hides it and does write depth.
    Sphere planet = makeSphere(square, solidTexture(255, 255, 255), 3);
    planet.position = make(5, -3, 30);
    planet.render(camera);
    expectShowStateKept("planet");
    pixels = kit.pixels();
    EXPECT_LT(depthAtPixel(160, 120), 1.0f);
    EXPECT_GT(RenderKit::at(pixels, 160, 120)[0], 100);
    EXPECT_GT(RenderKit::at(pixels, 20, 50)[2], 200);  // the dome still shows around it
}

TEST(SphereRender, TranslucentAndUnlitSpheresRestoreTheirState) {
    RenderKit kit;
    ASSERT_TRUE(kit.gl.ok());
    Camera camera;
    placeCamera(camera, make(0, 0, 10));
    unsigned square = compileTestMesh(squareMesh());
    Sphere glass = makeSphere(square, solidTexture(255, 255, 255), 3);
    glass.alpha = 0.5f;
    kit.beginFrame(camera);
    glass.render(camera);
    expectShowStateKept("translucent");
    glass.unlit = true;
    glass.render(camera);
    expectShowStateKept("translucent unlit");
    glass.alpha = 1;
    kit.beginFrame(camera);
    glass.render(camera);
    expectShowStateKept("opaque unlit");
    EXPECT_GT(RenderKit::brightness(kit.pixels(), 160, 120), 740);  // full texture, no light
    // Outside the square nothing was drawn.
    EXPECT_EQ(RenderKit::brightness(kit.pixels(), 10, 120), 0);

    // A sphere without geometry (its mesh failed to load) draws nothing, without faults.
    Sphere empty;
    empty.render(camera);
    expectShowStateKept("no geometry");
}

