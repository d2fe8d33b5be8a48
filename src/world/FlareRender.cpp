// Drawing and animation of a Flare.
#include "world/Flare.h"

void Flare::render(const Camera&) {}

void Flare::update(double) {}
