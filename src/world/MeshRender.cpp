// Drawing and animation of a Mesh.
#include "world/Mesh.h"

void Mesh::render(const Camera&) {}

void Mesh::update(double) {}
