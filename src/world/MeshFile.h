// Binary mesh members to display lists, and the three shared geometry slots.
#pragma once

#include <vector>

#include "world/TexelDensity.h"

// Reads a mesh member and compiles it into a new display list; 0 when the member is
// missing, short or inconsistent (a message goes to stderr), or graphics loading is off.
// With `asSky`, the faces as seen from the mesh's centre are kept for skyFacesOf.
unsigned loadMeshFile(const char* memberName, bool asSky = false);

// The faces of a display list that loadMeshFile made with `asSky`; null for any other.
const std::vector<SkyFace>* skyFacesOf(unsigned list);

struct GeometrySlots {
    unsigned environment = 0;  // "meshes\env.dat"
    unsigned sphere = 0;       // "meshes\sphere.dat"
    unsigned current = 0;      // the last "geometry %s" line
};

extern GeometrySlots geometrySlots;
