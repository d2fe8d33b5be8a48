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
