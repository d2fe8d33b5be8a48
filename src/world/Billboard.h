// A textured quad: camera-facing or fixed, free, attached to a parent, or around the viewer.
#pragma once

#include "world/WorldObject.h"

struct BlockContext;

class Billboard : public WorldObject {
public:
    Billboard();  // draws the random spin
    void render(const Camera& camera) override;
    void update(double dt) override;
    void readProperty(const char* line, BlockContext& context);

    float size = 5;
    float alpha = 1;
    float fov = 0.1f;
    float xy = 1;
    float angle = 0;  // degrees
    float spin = 0;   // degrees per second; random in [-60, 60] until "rotation"
    Vec3 up{0, 1, 0};
    Vec3 right{1, 0, 0};  // the quad's own right vector, not the base field
    Vec3 offset{0, 0, 0};
    Vec3 color{1, 1, 1};
    float flashClock = 0;
    float darkTime = 0;
    float litTime = 0;
    bool isEnv = false;
    bool fixedOrientation = false;
    bool hasFlash = false;
    // The base class holds the parent link.
};
