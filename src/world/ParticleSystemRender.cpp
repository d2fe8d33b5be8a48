// Drawing and animation of a ParticleSystem.
#include "world/ParticleSystem.h"

void ParticleSystem::render(const Camera&) {}

void ParticleSystem::update(double) {}
