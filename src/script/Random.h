// The one process-wide random generator: a linear congruential generator whose draws
// are bits 16..30 of the new state. Its state is 1 until the saver seeds it.
#pragma once

#include <cstdint>

void seedRandom(std::uint32_t seed);
std::uint32_t randomState();
// An integer 0..32767.
int randomDraw();
// draw / 32767: 0..1, both ends included.
float randomFraction();
// trunc(randomFraction() * factor), for example randomPick(3.8f) yields 0..3.
int randomPick(float factor);
