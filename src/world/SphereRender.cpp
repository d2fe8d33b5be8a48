// Drawing and animation of a Sphere.
#include "world/Sphere.h"

void Sphere::render(const Camera&) {}

void Sphere::update(double) {}
