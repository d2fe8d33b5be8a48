// The global dust field around the camera (declared with ParticleSystem as particleField).
#pragma once

// Makes the field ready for the first frame: dust mode, "textures\particle.jpg",
// particles of size 0.3, 800 of them in a cloud 250 units around the field's position.
void setUpParticleField();
