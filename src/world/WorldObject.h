// The base of every object a world file creates, and the ordered owning list they live in.
#pragma once

#include <memory>
#include <vector>

#include "script/KeyframeTrack.h"
#include "script/Vec3.h"

class Camera;

class WorldObject {
public:
    static constexpr int kNameCapacity = 15;  // at most 14 characters

    virtual ~WorldObject() = default;
    virtual void render(const Camera& camera) = 0;
    virtual void update(double dt) = 0;

    // "texture %s" / "\tmap1 %s" and "\tmap2 %s": mipmapped JPEG textures.
    void loadTexture(const char* memberName);
    void loadTexture2(const char* memberName);

    Vec3 position{0, 0, 0};
    Vec3 look{0, 0, 0};
    Vec3 right{0, 0, 0};
    KeyframeTrack track;
    unsigned texture = 0;
    unsigned texture2 = 0;
    char name[kNameCapacity] = {};
    bool hasTexture = false;
    bool hasTexture2 = false;
    bool visible = true;
    WorldObject* parent = nullptr;  // set by "parent %s" for the kinds that have one
};

using ObjectList = std::vector<std::unique_ptr<WorldObject>>;
