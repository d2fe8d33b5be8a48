// Particle emitters (line, circle) and the global particle field around the camera.
#pragma once

#include <vector>

#include "world/WorldObject.h"

struct BlockContext;

class ParticleSystem : public WorldObject {
public:
    enum Mode { None = 0, Field = 1, LineEmitter = 3, CircleEmitter = 4 };

    ParticleSystem();  // draws the random start angle
    void render(const Camera& camera) override;
    void update(double dt) override;
    void readProperty(const char* line, BlockContext& context);
    // Sets count and creates the three arrays (replacing earlier ones); negative counts
    // make none.
    void createParticles(int count);

    int mode = None;
    float size = 2;
    float startAngle = 0;  // degrees
    int count = 0;
    float period = 0;      // seconds
    float elapsed = 0;
    Vec3 point1{0, 0, 0};
    Vec3 point2{0, 0, 0};
    std::vector<Vec3> positions;
    std::vector<Vec3> velocities;
    std::vector<Vec3> accelerations;
    // The base right field holds the "rot" axis.
};

// The one process-wide particle field; in no object list.
extern ParticleSystem particleField;
