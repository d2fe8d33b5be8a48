// Binary mesh members to display lists, and the three shared geometry slots.
#pragma once

// Reads a mesh member and compiles it into a new display list; 0 when the member is
// missing, short or inconsistent (a message goes to stderr), or graphics loading is off.
unsigned loadMeshFile(const char* memberName);

struct GeometrySlots {
    unsigned environment = 0;  // "meshes\env.dat"
    unsigned sphere = 0;       // "meshes\sphere.dat"
    unsigned current = 0;      // the last "geometry %s" line
};

extern GeometrySlots geometrySlots;
