// Drawing and animation of a Billboard.
#include "world/Billboard.h"

void Billboard::render(const Camera&) {}

void Billboard::update(double) {}
