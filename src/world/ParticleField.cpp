#include "world/ParticleField.h"

#include "world/ParticleSystem.h"

void setUpParticleField() {
    particleField.mode = ParticleSystem::Field;
    particleField.loadTexture("textures\\particle.jpg");
    particleField.size = 0.3f;
    particleField.createParticles(800);
}
