// An engine exhaust: a trail of camera-facing quads behind its parent.
#pragma once

#include "world/WorldObject.h"

struct BlockContext;

class Flame : public WorldObject {
public:
    Flame();
    void render(const Camera& camera) override;
    void update(double dt) override;
    void readProperty(const char* line, BlockContext& context);

    Vec3 anchor{0, 0, 0};  // nozzle position in the parent's frame
    Vec3 colorFrom{1, 1, 0};
    Vec3 colorTo{0, 0, 1};
    float size = 0.8f;
    float offset = 0.2f;
    // The base class holds the parent link.
};
