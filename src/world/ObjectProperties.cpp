#include "world/ObjectProperties.h"

#include "script/Scan.h"

void readTextureLine(WorldObject& object, const char* line) {
    char member[32];
    if (scanLine(line, "texture %s", member, int(sizeof member)) == 1) object.loadTexture(member);
}

WorldObject* readParent(const char* line, const BlockContext& context) {
    char name[WorldObject::kNameCapacity];
    if (scanLine(line, "parent %s", name, WorldObject::kNameCapacity) != 1) return nullptr;
    return findByName(context.list, name);
}

WorldObject* readParentWithOffset(const char* line, const BlockContext& context, Vec3& offset) {
    char skip[WorldObject::kNameCapacity];
    scanLine(line, "parent %s V(%f %f %f)", skip, int(sizeof skip), &offset.x, &offset.y, &offset.z);
    return readParent(line, context);
}

void readRotation(const char* line, float& angle, float& spin) {
    float a = angle;
    float s = 0;
    int n = scanLine(line, "rotation %f %f", &a, &s);
    if (n >= 1) angle = a;
    if (n >= 2) spin = s * 60;
}
