#include "mkcontent/Noise.h"
#include "mkcontent/Random.h"
#include <cmath>

Noise::Noise(uint64_t seed) {
    Random random(seed);
    for (int i = 0; i < 256; ++i) perm[i] = uint8_t(i);
    for (int i = 255; i > 0; --i) {
        int j = int(random.next() % uint64_t(i + 1));
        uint8_t t = perm[i];
        perm[i] = perm[j];
        perm[j] = t;
    }
    for (int i = 0; i < 256; ++i) perm[256 + i] = perm[i];
}

double Noise::grad(int hash, double x, double y, double z) const {
    int h = hash & 15;
    double u = h < 8 ? x : y;
    double v = h < 4 ? y : (h == 12 || h == 14 ? x : z);
    return ((h & 1) ? -u : u) + ((h & 2) ? -v : v);
}

static double fade(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }
static double lerp(double a, double b, double t) { return a + (b - a) * t; }

double Noise::at(double x, double y, double z) const {
    double fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
    int X = int(fx) & 255, Y = int(fy) & 255, Z = int(fz) & 255;
    x -= fx;
    y -= fy;
    z -= fz;
    double u = fade(x), v = fade(y), w = fade(z);
    int A = perm[X] + Y, AA = perm[A] + Z, AB = perm[A + 1] + Z;
    int B = perm[X + 1] + Y, BA = perm[B] + Z, BB = perm[B + 1] + Z;
    double r = lerp(lerp(lerp(grad(perm[AA], x, y, z), grad(perm[BA], x - 1, y, z), u),
                         lerp(grad(perm[AB], x, y - 1, z), grad(perm[BB], x - 1, y - 1, z), u), v),
                    lerp(lerp(grad(perm[AA + 1], x, y, z - 1), grad(perm[BA + 1], x - 1, y, z - 1), u),
                         lerp(grad(perm[AB + 1], x, y - 1, z - 1), grad(perm[BB + 1], x - 1, y - 1, z - 1), u), v),
                    w);
    return r;
}

double Noise::fractal(double x, double y, double z, int octaves, double gain) const {
    double sum = 0, amplitude = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * at(x, y, z);
        norm += amplitude;
        amplitude *= gain;
        x *= 2.03;
        y *= 2.03;
        z *= 2.03;
    }
    return sum / norm;
}

double Noise::ridged(double x, double y, double z, int octaves) const {
    double sum = 0, amplitude = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        double n = 1.0 - std::fabs(at(x, y, z));
        sum += amplitude * n * n;
        norm += amplitude;
        amplitude *= 0.5;
        x *= 2.1;
        y *= 2.1;
        z *= 2.1;
    }
    return sum / norm;
}
