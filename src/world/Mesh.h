// A textured model from a mesh file, optionally flying its own keyframe track.
#pragma once

#include "script/Quaternion.h"
#include "world/WorldObject.h"

struct BlockContext;

class Mesh : public WorldObject {
public:
    Mesh();  // takes the current geometry's display list
    void render(const Camera& camera) override;
    void update(double dt) override;
    void readProperty(const char* line, BlockContext& context);

    unsigned displayList = 0;
    float orientAngle = 0;  // degrees
    Vec3 orientAxis{0, 1, 0};
    float scale = 1;
    float tiling = 4;
    double trackTime = 0;
    Quaternion orientation{0, 0, 0, 1};
    bool chrome = true;
    bool metal = false;
    bool additive = false;  // "light": second texture added instead of multiplied
    float speed = 0;        // accepted; no effect
    bool invertUp = false;  // "invup": accepted; no effect
};
