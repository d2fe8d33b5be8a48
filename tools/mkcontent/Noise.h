// Seeded 3D gradient noise and fractal sums, the raw material of every procedural texture.
#pragma once
#include <cstdint>

class Noise {
public:
    explicit Noise(uint64_t seed);
    // Smooth noise in about [-1, 1].
    double at(double x, double y, double z) const;
    // Fractal sum of octaves, normalised to about [-1, 1].
    double fractal(double x, double y, double z, int octaves, double gain = 0.5) const;
    // Ridged fractal in [0, 1]: sharp crests, for veins and cracks.
    double ridged(double x, double y, double z, int octaves) const;

private:
    uint8_t perm[512];
    double grad(int hash, double x, double y, double z) const;
};
