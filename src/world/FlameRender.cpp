// Drawing and animation of a Flame.
#include "world/Flame.h"

void Flame::render(const Camera&) {}

void Flame::update(double) {}
