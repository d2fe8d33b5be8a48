// Property lines shared by several object kinds.
#pragma once

#include "world/WorldFile.h"

// "texture %s": loads the named member as the object's first texture.
void readTextureLine(WorldObject& object, const char* line);
// "parent %s ...": the first earlier object of the list with that name, or none.
WorldObject* readParent(const char* line, const BlockContext& context);
// "parent %s V(%f %f %f)": the parent as readParent, and the offset from it where given.
WorldObject* readParentWithOffset(const char* line, const BlockContext& context, Vec3& offset);
// "rotation %f %f": angle in degrees, spin per frame stored per second (x60).
void readRotation(const char* line, float& angle, float& spin);
