#include "mkcontent/Image.h"
#include <algorithm>
#include <cmath>

Color mix(Color a, Color b, double t) {
    float u = float(t);
    return {a.r + (b.r - a.r) * u, a.g + (b.g - a.g) * u, a.b + (b.b - a.b) * u, a.a + (b.a - a.a) * u};
}

Color scaled(Color c, double s) {
    float f = float(s);
    return {c.r * f, c.g * f, c.b * f, c.a};
}

Color added(Color a, Color b) { return {a.r + b.r, a.g + b.g, a.b + b.b, a.a}; }

void Image::addGlow(double cx, double cy, double radius, Color c, double sharpness) {
    int x0 = std::max(0, int(cx - radius)), x1 = std::min(width - 1, int(cx + radius) + 1);
    int y0 = std::max(0, int(cy - radius)), y1 = std::min(height - 1, int(cy + radius) + 1);
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / radius;
            if (d >= 1.0) continue;
            double f = std::pow(1.0 - d, sharpness);
            Color& p = at(x, y);
            p.r += float(c.r * f);
            p.g += float(c.g * f);
            p.b += float(c.b * f);
        }
    }
}

static uint8_t toByte(float v) {
    float s = std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f;
    return uint8_t(s);
}

std::vector<uint8_t> Image::bytes(int channels) const {
    std::vector<uint8_t> out;
    out.reserve(pixels.size() * size_t(channels));
    for (const Color& c : pixels) {
        out.push_back(toByte(c.r));
        out.push_back(toByte(c.g));
        out.push_back(toByte(c.b));
        if (channels == 4) out.push_back(toByte(c.a));
    }
    return out;
}

bool isPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }
