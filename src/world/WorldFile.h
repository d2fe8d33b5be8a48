// World files: object blocks of six kinds, read into an ordered owning list.
#pragma once

#include "world/WorldObject.h"

class ArchiveMember;

enum class ObjectKind {
    None = 0,
    Sphere = 1,
    Billboard = 2,
    Flare = 3,
    Flame = 4,
    Mesh = 5,
    ParticleSystem = 6,
    Geometry = 7,
    Dir = 8,
    EndWorld = 255,
};

// What a kind's property reader may use besides the line: the member (for the lines
// that follow "lenseffect" and "material") and the list being filled (parent lookups).
struct BlockContext {
    ArchiveMember& member;
    ObjectList& list;
};

// Top-level line to kind, by prefix tests in a fixed order (the first match wins).
ObjectKind kindFromKeyword(const char* line);

// Reads the world file `memberName` and appends its objects to `list`. Returns false
// when the member cannot be opened (the list is unchanged then).
bool readWorldFile(ObjectList& list, const char* memberName);

// The first object named exactly `name`; null when there is none.
WorldObject* findByName(const ObjectList& list, const char* name);

// Scale of pixel sizes: screen width / 800 (from the Width setting).
float screenWidthScale();
