// A floating-point picture being painted, and the few operations the painters share.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct Color {
    float r = 0, g = 0, b = 0, a = 1;
};

Color mix(Color a, Color b, double t);
Color scaled(Color c, double s);
Color added(Color a, Color b);

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Color> pixels;  // row 0 is the top row

    Image() = default;
    Image(int w, int h) : width(w), height(h), pixels(size_t(w) * size_t(h)) {}
    Color& at(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    const Color& at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }

    // Adds c scaled by a soft round falloff of the given radius around (cx, cy).
    void addGlow(double cx, double cy, double radius, Color c, double sharpness = 2.0);
    // Clamped 8-bit channels, top row first: RGB (3 bytes) or RGBA (4 bytes) per pixel.
    std::vector<uint8_t> bytes(int channels) const;
};

bool isPowerOfTwo(int n);
