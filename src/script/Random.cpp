#include "script/Random.h"

// Constant-initialised, so draws made during static construction already see it.
static std::uint32_t state = 1;

void seedRandom(std::uint32_t seed) { state = seed; }

std::uint32_t randomState() { return state; }

int randomDraw() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7fff);
}

float randomFraction() { return static_cast<float>(randomDraw()) / 32767.0f; }

int randomPick(float factor) { return static_cast<int>(randomFraction() * factor); }
