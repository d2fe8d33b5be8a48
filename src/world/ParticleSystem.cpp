#include "world/ParticleSystem.h"

#include "script/Random.h"
#include "script/Scan.h"
#include "world/ObjectProperties.h"

// Far above any emitter the data uses; keeps a damaged "dens" line from exhausting memory.
static constexpr int kMaxParticles = 100000;

ParticleSystem particleField;

ParticleSystem::ParticleSystem() : startAngle(randomFraction() * 360.0f) {}

static Vec3 randomDirection() {
    float x = 20 * randomFraction() - 10;
    float y = 20 * randomFraction() - 10;
    float z = 20 * randomFraction() - 10;
    return normalize(Vec3{x, y, z});
}

void ParticleSystem::createParticles(int n) {
    if (n < 0) n = 0;
    if (n > kMaxParticles) n = kMaxParticles;
    count = n;
    positions.assign(n, Vec3{});
    velocities.assign(n, Vec3{});
    accelerations.assign(n, Vec3{});
    for (int i = 0; i < n; ++i) {
        float vx = 0.5f * randomFraction();
        float vy = 0.5f * randomFraction();
        float vz = 0.5f * randomFraction();
        velocities[i] = Vec3{vx, vy, vz};
        float ax = 0.5f * randomFraction();
        float ay = 0.5f * randomFraction();
        float az = 0.5f * randomFraction();
        accelerations[i] = -0.01f * Vec3{ax, ay, az};
        positions[i] = position + 250.0f * randomDirection();
    }
}

void ParticleSystem::readProperty(const char* line, BlockContext&) {
    if (keywordTest(line, "texture")) readTextureLine(*this, line);
    if (keywordTest(line, "size")) scanLine(line, "size %f", &size);
    if (keywordTest(line, "line")) mode = LineEmitter;
    if (keywordTest(line, "circ")) mode = CircleEmitter;
    if (keywordTest(line, "time")) scanLine(line, "time %f", &period);
    if (keywordTest(line, "dens")) {
        int n = 0;
        if (scanLine(line, "dens %d", &n) == 1) createParticles(n);
    }
    if (keywordTest(line, "point1"))
        scanLine(line, "point1 V(%f %f %f)", &point1.x, &point1.y, &point1.z);
    if (keywordTest(line, "point2"))
        scanLine(line, "point2 V(%f %f %f)", &point2.x, &point2.y, &point2.z);
    if (keywordTest(line, "rot")) scanLine(line, "rot V(%f %f %f)", &right.x, &right.y, &right.z);
}
