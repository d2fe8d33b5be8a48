// A glow that fades with visibility, with optional flicker, focus and lens elements.
#pragma once

#include "world/WorldObject.h"

struct BlockContext;

class Flare : public WorldObject {
public:
    Flare();
    void render(const Camera& camera) override;
    void update(double dt) override;
    void readProperty(const char* line, BlockContext& context);

    float alpha = 0;
    float size = 10;      // pixels, already scaled by W / 800
    float lensSize = 5;   // pixels, already scaled by W / 800
    float fadeIn = 6;     // per second
    float fadeOut = 6;    // per second
    float fov = 0.1f;
    float angle = 0;      // degrees
    float spin = 24;      // degrees per second
    float xy = 1;
    float flashClock = 0;
    float flashOn = 0;
    float flashEnd = 0;
    float flash = 0;      // seconds
    float focus = 0;
    Vec3 offset{0, 0, 0};
    Vec3 orient{0, 0, 0};
    bool hasFlash = false;
    bool seen = false;
    bool hasLens = false;
    bool isEnv = false;
    bool hasFocus = false;
    bool hasOrient = false;
    unsigned lensTextures[3] = {0, 0, 0};
};
