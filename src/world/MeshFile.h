// Binary mesh members to display lists, and the three shared geometry slots.
#pragma once

#include <vector>

#include "world/TexelDensity.h"

// Reads a mesh member and compiles it into a new display list; 0 when the member is
// missing, short or inconsistent (a message goes to stderr), or graphics loading is off.
// With `asSky`, the mesh is also split for skyPartsOf.
unsigned loadMeshFile(const char* memberName, bool asSky = false);

// A sky mesh (seen from its centre) in parts of faces alike in texel density, each its own
// display list, so each part can sample level 0 alone when the view magnifies all of it.
struct SkyPart {
    unsigned list = 0;
    std::vector<SkyFace> faces;
};
// The parts of a display list that loadMeshFile made with `asSky`; null for any other.
const std::vector<SkyPart>* skyPartsOf(unsigned list);

struct GeometrySlots {
    unsigned environment = 0;  // "meshes\env.dat"
    unsigned sphere = 0;       // "meshes\sphere.dat"
    unsigned current = 0;      // the last "geometry %s" line
};

extern GeometrySlots geometrySlots;
