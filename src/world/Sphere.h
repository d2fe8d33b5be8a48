// A textured planet or an environment sphere around the viewer.
#pragma once

#include "world/WorldObject.h"

struct BlockContext;

class Sphere : public WorldObject {
public:
    Sphere();
    void render(const Camera& camera) override;
    void update(double dt) override;
    // One body line of the object block; every matching keyword applies.
    void readProperty(const char* line, BlockContext& context);

    Vec3 spinAxis{0, 1, 0};
    float spinAngle = 0;      // degrees
    float spinSpeed = 0.2f;   // degrees per frame
    unsigned displayList = 0; // the sphere geometry unless "env"
    float radius = 5;
    float alpha = 1;
    float fov = 1;
    float tiling = 1;
    Vec3 orientAxis{1, 0, 0};
    float orientAngle = 120;  // degrees
    bool isEnv = false;
    bool unlit = false;
};
