// The show's geometry: spheres for planets and sky domes, ships, a station and asteroids.
#pragma once
#include "mkcontent/MeshData.h"
#include <cstdint>

// Unit UV sphere, poles on the y axis, smooth normals, texture seam split so u runs 0..1
// around the axis and v 1 at the north pole. With inside set, the faces and normals turn
// inwards and u is mirrored so a sky texture reads the right way round from the centre.
MeshData makeUvSphere(int segments, int rings, bool inside);

// Ships are built nose along +x in the frame a flying mesh is drawn in (x forward,
// y right, z down), about 10 units long.
MeshData makeFighter();
MeshData makeFreighter();
MeshData makeCourier();
// A heavy freighter about 25 units long: a spine of containers between the bridge and
// three engine bells (nozzles at x = -12.6, y = -1.3, 0 and 1.3).
MeshData makeHauler();
// A small probe about 5 units long: a body with a dish ahead, two solar wings and one
// nozzle at x = -1.8.
MeshData makeProbe();
// A wheel station about 120 units across, spin axis on local y.
MeshData makeStation();
// A lumpy rock of about unit radius; each seed gives another shape.
MeshData makeAsteroid(uint64_t seed);
