#include <gtest/gtest.h>

#include "script/Random.h"
#include "world/ObjectAnimation.h"

TEST(ParticleAnimation, DustRespawnsWithinReachOfTheCamera) {
    seedRandom(11);
    Vec3 camera = make(10, -20, 300);
    // Particles of an initial cloud 250 units from the origin: far from this camera.
    for (int i = 0; i < 500; ++i) {
        Vec3 position = randomDirection() * 250;
        Vec3 velocity = make(0.3f, 0.1f, 0.2f);
        Vec3 acceleration = make(-0.001f, 0, 0);
        bool moved = stepDustParticle(position, velocity, acceleration, camera);
        float d = length(position - camera);
        if (moved) {
            EXPECT_GE(d, 100 - 1e-3f);
            EXPECT_LE(d, 110 + 1e-3f);
            // then stays still
            Vec3 before = position;
            EXPECT_FALSE(stepDustParticle(position, velocity, acceleration, camera));
            EXPECT_FLOAT_EQ(position.x, before.x);
            EXPECT_FLOAT_EQ(position.y, before.y);
            EXPECT_FLOAT_EQ(position.z, before.z);
        } else {
            EXPECT_FALSE(outsideDustShell(d));
        }
    }
    // A particle the camera runs into (closer than 30.9) respawns too.
    Vec3 p = camera + make(0, 0, 20), v = make(0, 0, 0), a = make(0, 0, 0);
    EXPECT_TRUE(stepDustParticle(p, v, a, camera));
    EXPECT_NEAR(length(p - camera), 105, 5.001f);
    // Inside the shell a particle moves by velocity, and the velocity grows after the move.
    Vec3 q = camera + make(50, 0, 0), qv = make(1, 0, 0), qa = make(0.5f, 0, 0);
    EXPECT_FALSE(stepDustParticle(q, qv, qa, camera));
    EXPECT_FLOAT_EQ(q.x, camera.x + 51);
    EXPECT_FLOAT_EQ(qv.x, 1.5f);
}

TEST(ParticleAnimation, EmitterPhaseAndShade) {
    EXPECT_FLOAT_EQ(emitterPhase(1, 4), 0.25f);
    EXPECT_FLOAT_EQ(emitterPhase(3, 0), 0);  // no period: still, not NaN
    EXPECT_FLOAT_EQ(emitterPhase(3, -1), 0);
    EXPECT_GT(dustShade(40), 0.99f);
    EXPECT_LT(dustShade(150), 0.01f);
    EXPECT_NEAR(dustShade(95), 0.5f, 1e-5f);
    for (int i = 0; i < 200; ++i) EXPECT_NEAR(length(randomDirection()), 1, 1e-5f);
}

#include "support/RenderKit.h"
#include "world/ParticleSystem.h"

TEST(ParticleRender, FieldRespawnsAroundTheCameraOnTheFirstFrame) {
    RenderKit kit;
    ASSERT_TRUE(kit.gl.ok());
    seedRandom(3);
    Camera camera;
    placeCamera(camera, make(0, 0, 0));
    ParticleSystem field;
    field.mode = ParticleSystem::Field;
    field.size = 0.3f;
    field.texture = solidTexture(255, 255, 255);
    field.position = make(0, 0, 0);
    field.createParticles(800);
    camera.position = camera.eye = make(400, 0, 0);  // the cloud is far behind
    kit.beginFrame(camera);
    field.render(camera);
    expectShowStateKept("field");
    for (const Vec3& p : field.positions) {
        float d = length(p - camera.position);
        ASSERT_GE(d, 100 - 1e-3f);
        ASSERT_LE(d, 110 + 1e-3f);
    }
    // Respawned particles stay still; on the next frame some are in view and drawn.
    std::vector<Vec3> before = field.positions;
    kit.beginFrame(camera);
    field.render(camera);
    EXPECT_GT(RenderKit::totalLight(kit.pixels()), 0);
    for (std::size_t i = 0; i < before.size(); ++i) ASSERT_FLOAT_EQ(field.positions[i].x, before[i].x);
}

TEST(ParticleRender, EmittersDrawWithoutAPeriodAndRestoreState) {
    RenderKit kit;
    ASSERT_TRUE(kit.gl.ok());
    Camera camera;
    placeCamera(camera, make(0, 0, 20));
    unsigned white = solidTexture(255, 255, 255);
    ParticleSystem line;
    line.mode = ParticleSystem::LineEmitter;
    line.texture = white;
    line.point1 = make(-5, 0, 0);
    line.point2 = make(5, 0, 0);
    line.createParticles(1);  // one particle, fully transparent, at point1
    kit.beginFrame(camera);
    line.update(0.1);
    line.render(camera);
    expectShowStateKept("line of one");
    EXPECT_EQ(RenderKit::totalLight(kit.pixels()), 0);

    line.createParticles(40);
    kit.beginFrame(camera);
    line.render(camera);  // period 0: the phase stays 0
    expectShowStateKept("line");
    auto pixels = kit.pixels();
    EXPECT_LT(RenderKit::brightness(pixels, 90, 120), RenderKit::brightness(pixels, 220, 120));  // fades in

    ParticleSystem circle;
    circle.mode = ParticleSystem::CircleEmitter;
    circle.texture = white;
    circle.size = 1;
    circle.point1 = make(4, 0, 0);
    circle.point2 = make(0, 0, 0);
    circle.right = make(0, 0, 1);
    circle.period = 2;
    circle.createParticles(24);
    kit.beginFrame(camera);
    circle.update(0.5);
    circle.render(camera);
    expectShowStateKept("circle");
    pixels = kit.pixels();
    EXPECT_EQ(RenderKit::brightness(pixels, 160, 120), 0);  // the centre stays dark
    EXPECT_GT(RenderKit::totalLight(pixels), 0);
    circle.right = make(0, 0, 0);  // no axis: still draws, without NaNs
    circle.render(camera);
    expectShowStateKept("circle without axis");

    ParticleSystem none;  // no "line" or "circ": draws nothing
    none.createParticles(10);
    kit.beginFrame(camera);
    none.render(camera);
    EXPECT_EQ(RenderKit::totalLight(kit.pixels()), 0);
}

TEST(ParticleRender, CircleWithATiltedAxisLightsItsOwnQuarter) {
    // Seen from +x looking down -x: screen right is -z, screen up is +y. The arm
    // (4, 4, 0) leans 45 degrees off the axis, so a flipped arm, a turn the wrong way
    // round or an axis left unnormalised each move the particle to another place.
    RenderKit kit;
    ASSERT_TRUE(kit.gl.ok());
    Camera camera;
    placeCamera(camera, make(20, 0, 0), make(-1, 0, 0));
    ParticleSystem circle;
    circle.mode = ParticleSystem::CircleEmitter;
    circle.texture = solidTexture(255, 255, 255);
    circle.size = 1;
    circle.point1 = make(4, 4, 0);
    circle.point2 = make(0, 0, 0);
    circle.right = make(0, 2, 0);
    circle.period = 2;
    circle.createParticles(1);
    circle.elapsed = 0.5f;  // a quarter turn: (4, 4, 0) goes to (0, 4, -4)
    kit.beginFrame(camera);
    circle.render(camera);
    auto pixels = kit.pixels();
    long quarter[2][2] = {};  // [upper][right]
    for (int y = 0; y < RenderKit::kHeight; ++y)
        for (int x = 0; x < RenderKit::kWidth; ++x)
            quarter[y >= RenderKit::kHeight / 2][x >= RenderKit::kWidth / 2] += RenderKit::brightness(pixels, x, y);
    EXPECT_GT(quarter[1][1], 0) << "upper right";
    EXPECT_EQ(quarter[1][0], 0) << "upper left";
    EXPECT_EQ(quarter[0][1], 0) << "lower right";
    EXPECT_EQ(quarter[0][0], 0) << "lower left";
}
