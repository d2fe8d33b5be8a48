#include "mkcontent/Textures.h"
#include "mkcontent/Noise.h"
#include "mkcontent/Random.h"
#include <algorithm>
#include <cmath>

namespace {

double clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

double smoothstep(double a, double b, double x) {
    double t = clamp01((x - a) / (b - a));
    return t * t * (3 - 2 * t);
}

Color rgb(double r, double g, double b) { return {float(r), float(g), float(b), 1}; }

// Point of the unit sphere under texel (x, y) of an equirectangular map, matching the
// sphere mesh: poles on y, u growing with the angle from +x towards -z.
void spherePoint(int x, int y, int w, int h, double& px, double& py, double& pz) {
    double theta = M_PI * (y + 0.5) / h;
    double phi = 2.0 * M_PI * (x + 0.5) / w;
    px = std::sin(theta) * std::cos(phi);
    py = std::cos(theta);
    pz = -std::sin(theta) * std::sin(phi);
}

// An equirectangular map (height half the width) painted from the point of the unit
// sphere under each texel.
template <class Paint>
Image paintSphere(int width, Paint paint) {
    int height = width / 2;
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double px, py, pz;
            spherePoint(x, y, width, height, px, py, pz);
            image.at(x, y) = paint(px, py, pz);
        }
    }
    return image;
}

// A square picture painted from each texel's place about its centre: dx and dy in
// -1..1 (dy grows down the picture) and r, the distance from the centre.
template <class Paint>
Image paintCentred(int size, Paint paint) {
    Image image(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double dx = (x + 0.5) / size * 2 - 1, dy = (y + 0.5) / size * 2 - 1;
            image.at(x, y) = paint(dx, dy, std::sqrt(dx * dx + dy * dy));
        }
    }
    return image;
}

// Ramp through a few colour stops at evenly spaced positions.
Color ramp(const Color* stops, int count, double t) {
    t = clamp01(t) * (count - 1);
    int i = std::min(int(t), count - 2);
    return mix(stops[i], stops[i + 1], t - i);
}

Color tinted(Color c, Color tint) { return {c.r * tint.r, c.g * tint.g, c.b * tint.b, c.a}; }

Color rockyAt(const Noise& n, double x, double y, double z, Color tint) {
    double h = n.fractal(x * 2.2, y * 2.2, z * 2.2, 7);
    double detail = n.fractal(x * 9 + 3, y * 9, z * 9, 4);
    double lat = std::fabs(y);
    if (h < 0.02) {
        double depth = clamp01(-h * 3);
        Color ocean = mix(rgb(0.08, 0.25, 0.45), rgb(0.02, 0.06, 0.2), depth);
        if (lat + 0.1 * detail > 0.86) ocean = rgb(0.85, 0.9, 0.95);
        return ocean;
    }
    static const Color land[] = {rgb(0.75, 0.68, 0.45), rgb(0.25, 0.45, 0.18), rgb(0.3, 0.32, 0.15),
                                 rgb(0.45, 0.38, 0.3), rgb(0.9, 0.9, 0.92)};
    Color c = ramp(land, 5, h * 2.2 + 0.08 * detail);
    c = tinted(c, tint);
    if (lat + 0.1 * detail > 0.8) c = mix(c, rgb(0.92, 0.95, 1.0), smoothstep(0.8, 0.88, lat + 0.1 * detail));
    return scaled(c, 0.85 + 0.15 * detail);
}

Color gasAt(const Noise& n, double x, double y, double z, Color tint) {
    double turb = n.fractal(x * 3, y * 3, z * 3, 5);
    double band = y * 7.0 + turb * 0.6 + 0.3 * n.fractal(x * 0.8, y * 12, z * 0.8, 3);
    static const Color stops[] = {rgb(0.95, 0.85, 0.65), rgb(0.75, 0.5, 0.3), rgb(0.9, 0.75, 0.55),
                                  rgb(0.55, 0.35, 0.25), rgb(0.98, 0.92, 0.8)};
    double t = 0.5 + 0.5 * std::sin(band * 2.1);
    Color c = ramp(stops, 5, t);
    // one great storm
    double dx = x - 0.6, dy = (y + 0.35) * 2.2, dz = z + 0.55;
    double storm = std::exp(-(dx * dx + dy * dy + dz * dz) * 18.0);
    c = mix(c, rgb(0.8, 0.3, 0.2), storm * (0.7 + 0.3 * turb));
    return tinted(c, tint);
}

Color iceAt(const Noise& n, double x, double y, double z, Color tint) {
    double base = n.fractal(x * 3, y * 3, z * 3, 6);
    double cracks = n.ridged(x * 5 + 7, y * 5, z * 5, 4);
    Color c = mix(rgb(0.75, 0.85, 0.95), rgb(0.95, 0.97, 1.0), clamp01(0.5 + base));
    c = mix(c, rgb(0.2, 0.45, 0.7), smoothstep(0.72, 0.95, cracks));
    return tinted(c, tint);
}

Color lavaAt(const Noise& n, double x, double y, double z, Color tint) {
    double crust = n.fractal(x * 3, y * 3, z * 3, 6);
    double veins = n.ridged(x * 4 + 2, y * 4, z * 4, 5);
    Color rock = mix(rgb(0.08, 0.06, 0.05), rgb(0.25, 0.18, 0.14), clamp01(0.5 + crust));
    double heat = smoothstep(0.62, 0.92, veins + 0.15 * crust);
    static const Color glow[] = {rgb(0.5, 0.05, 0.0), rgb(1.0, 0.35, 0.02), rgb(1.0, 0.85, 0.3)};
    Color hot = ramp(glow, 3, heat);
    return tinted(mix(rock, hot, heat), tint);
}

Color sunAt(const Noise& n, double x, double y, double z, Color tint) {
    double g = n.fractal(x * 8, y * 8, z * 8, 5);
    double spots = n.fractal(x * 2 + 11, y * 2, z * 2, 3);
    Color c = mix(rgb(1.0, 0.55, 0.1), rgb(1.0, 0.95, 0.6), clamp01(0.5 + g * 1.4));
    if (spots > 0.35) c = scaled(c, 0.6);
    return tinted(c, tint);
}

// Deep water in slow swirls, shallows round a few island chains, ice at the poles.
Color oceanAt(const Noise& n, double x, double y, double z, Color tint) {
    double h = n.fractal(x * 2.6 + 4, y * 2.6, z * 2.6, 7);
    double swirl = n.fractal(x * 6 + h, y * 9, z * 6 - h, 4);
    double detail = n.fractal(x * 14, y * 14 + 2, z * 14, 3);
    double lat = std::fabs(y);
    Color deep = mix(rgb(0.01, 0.07, 0.2), rgb(0.03, 0.18, 0.34), clamp01(0.5 + swirl));
    Color c = mix(deep, rgb(0.1, 0.42, 0.5), smoothstep(0.22, 0.34, h));
    if (h > 0.34) {
        static const Color land[] = {rgb(0.78, 0.72, 0.5), rgb(0.2, 0.42, 0.16), rgb(0.32, 0.3, 0.2)};
        c = ramp(land, 3, (h - 0.34) * 5 + 0.15 * detail);
    }
    double polar = smoothstep(0.84, 0.9, lat + 0.06 * detail);
    c = mix(c, rgb(0.88, 0.93, 0.98), polar);
    return tinted(scaled(c, 0.9 + 0.1 * detail), tint);
}

// A star's surface in its own colour: granulation from the tint towards white.
Color starAt(const Noise& n, double x, double y, double z, Color tint) {
    double g = n.fractal(x * 9, y * 9, z * 9, 5);
    double cells = n.ridged(x * 4 + 3, y * 4, z * 4, 3);
    Color hot = mix(tint, rgb(1, 1, 1), 0.55);
    Color c = mix(scaled(tint, 0.7), hot, clamp01(0.5 + g * 1.5));
    return scaled(c, 0.85 + 0.25 * cells);
}

}  // namespace

Image paintPlanet(PlanetKind kind, int width, uint64_t seed, Color tint) {
    Noise noise(seed);
    return paintSphere(width, [&](double px, double py, double pz) {
        switch (kind) {
            case PlanetKind::rocky: return rockyAt(noise, px, py, pz, tint);
            case PlanetKind::gasGiant: return gasAt(noise, px, py, pz, tint);
            case PlanetKind::ice: return iceAt(noise, px, py, pz, tint);
            case PlanetKind::lava: return lavaAt(noise, px, py, pz, tint);
            case PlanetKind::sun: return sunAt(noise, px, py, pz, tint);
            case PlanetKind::ocean: return oceanAt(noise, px, py, pz, tint);
            case PlanetKind::star: return starAt(noise, px, py, pz, tint);
        }
        return Color{};
    });
}

Image paintClouds(int width, uint64_t seed) {
    Noise noise(seed);
    return paintSphere(width, [&](double px, double py, double pz) {
        double warp = noise.fractal(px * 2, py * 2, pz * 2, 3);
        double c = noise.fractal(px * 3 + warp, py * 5, pz * 3 + warp, 6);
        double v = smoothstep(0.05, 0.45, c);
        return rgb(v, v, v);
    });
}

Image paintSky(int width, uint64_t seed, Color nebulaA, Color nebulaB, double nebulaStrength,
               double starsPerColumn) {
    int height = width / 2;
    Noise noise(seed);
    Image image = paintSphere(width, [&](double px, double py, double pz) {
        double a = noise.fractal(px * 2, py * 2, pz * 2, 6);
        double b = noise.fractal(px * 3 + 5, py * 3, pz * 3, 5);
        double density = smoothstep(0.0, 0.6, a) * nebulaStrength;
        // a faint band like a galactic plane
        double band = std::exp(-std::pow((py + 0.25 * px) * 3.0, 2.0)) * 0.35 * nebulaStrength;
        Color c = mix(nebulaA, nebulaB, clamp01(0.5 + b));
        return scaled(c, density * density + band * (0.6 + 0.4 * b));
    });
    Random random(seed * 7 + 1);
    int stars = int(width * starsPerColumn);
    for (int i = 0; i < stars; ++i) {
        // uniform on the sphere: z uniform, angle uniform
        double py = random.range(-1, 1);
        double phi = random.range(0, 2 * M_PI);
        double theta = std::acos(py);
        double sx = phi / (2 * M_PI) * width, sy = theta / M_PI * height;
        double bright = std::pow(random.unit(), 6.0) * 1.6 + 0.15;
        double warm = random.unit();
        Color c = warm < 0.3 ? rgb(1.0, 0.85, 0.7) : warm < 0.7 ? rgb(0.9, 0.95, 1.0) : rgb(0.7, 0.8, 1.0);
        double radius = bright > 0.8 ? 2.6 : 1.3;
        // stretch near the poles so stars stay round on the sphere
        double stretch = 1.0 / std::max(0.2, std::sin(theta));
        for (int k = -1; k <= 1; ++k) {
            image.addGlow(sx + k * width, sy, radius * std::min(stretch, 3.0), scaled(c, bright), 2.0);
        }
    }
    return image;
}

Image paintGalaxy(int size, uint64_t seed, Color tint) {
    Noise noise(seed);
    Random random(seed);
    double twist = random.range(3.5, 5.0);
    Image image = paintCentred(size, [&](double dx, double dy, double r) {
        double angle = std::atan2(dy, dx);
        double arms = 0.5 + 0.5 * std::cos(2.0 * (angle - twist * std::log(r + 0.05)));
        double clumps = 0.6 + 0.6 * noise.fractal(dx * 6, dy * 6, 0.5, 5);
        double disc = std::exp(-r / 0.28) * std::pow(arms, 2.5) * clumps;
        double core = std::exp(-r * r / 0.012);
        double halo = std::exp(-r / 0.5) * 0.15;
        double fadeEdge = 1.0 - smoothstep(0.75, 1.0, r);
        return added(scaled(tint, (disc * 1.6 + halo) * fadeEdge), scaled(rgb(1.0, 0.95, 0.85), core * 1.3));
    });
    for (int i = 0; i < size; ++i) {
        double r = std::pow(random.unit(), 1.5) * 0.8, a = random.range(0, 2 * M_PI);
        double b = random.range(0.2, 0.9) * std::exp(-r / 0.4);
        image.addGlow((0.5 + 0.5 * r * std::cos(a)) * size, (0.5 + 0.5 * r * std::sin(a)) * size, 1.6,
                      added(scaled(tint, b * 0.6), rgb(b * 0.5, b * 0.5, b * 0.5)));
    }
    return image;
}

Image paintNebulaPuff(int size, uint64_t seed, Color inner, Color outer) {
    Noise noise(seed);
    return paintCentred(size, [&](double dx, double dy, double r) {
        double n = noise.fractal(dx * 2.5, dy * 2.5, 0.3, 6);
        double shape = (1.0 - smoothstep(0.3, 1.0, r + 0.35 * n)) * (0.55 + 0.45 * n);
        return scaled(mix(inner, outer, clamp01(r + 0.3 * n)), std::max(0.0, shape));
    });
}

Image paintFlareGlow(int size, Color tint, int rays) {
    return paintCentred(size, [&](double dx, double dy, double r) {
        double a = std::atan2(dy, dx);
        double glow = std::exp(-r * 5.0) + 0.6 * std::exp(-r * r * 60.0);
        double ray = rays > 0 ? std::pow(std::fabs(std::cos(a * rays * 0.5)), 60.0) * std::exp(-r * 2.5) * 0.6 : 0;
        double fade = 1.0 - smoothstep(0.8, 1.0, r);
        double v = (glow + ray) * fade;
        Color c = mix(tint, rgb(1, 1, 1), clamp01(std::exp(-r * 8.0)));
        return scaled(c, v);
    });
}

Image paintLensRing(int size) {
    return paintCentred(size, [&](double, double, double r) {
        double v = std::exp(-std::pow((r - 0.78) / 0.06, 2.0));
        // a faint rainbow across the ring
        double t = clamp01((r - 0.68) / 0.2);
        return scaled(rgb(0.6 + 0.4 * t, 0.8, 1.0 - 0.5 * t), v);
    });
}

Image paintLensDisc(int size) {
    return paintCentred(size, [&](double, double, double r) {
        double v = (1.0 - smoothstep(0.7, 0.95, r)) * (0.6 + 0.4 * r);
        return scaled(rgb(0.8, 0.9, 1.0), v);
    });
}

Image paintLensHex(int size) {
    return paintCentred(size, [&](double dx, double dy, double) {
        // hexagon distance: the largest projection on three axes 60 degrees apart
        double h = 0;
        for (int k = 0; k < 3; ++k) {
            double a = M_PI / 3 * k;
            h = std::max(h, std::fabs(dx * std::cos(a) + dy * std::sin(a)));
        }
        double fill = 1.0 - smoothstep(0.74, 0.8, h);
        double edge = std::exp(-std::pow((h - 0.77) / 0.03, 2.0));
        return scaled(rgb(0.7, 1.0, 0.85), fill * 0.35 + edge * 0.6);
    });
}

Image paintParticle(int size, Color tint) {
    return paintCentred(size, [&](double, double, double r) {
        double v = std::exp(-r * r * 7.0) * (1.0 - smoothstep(0.85, 1.0, r));
        return scaled(tint, v);
    });
}

Image paintHull(int size, uint64_t seed, Color base, Color accent) {
    Image image(size, size);
    Noise noise(seed);
    Random random(seed);
    const int panels = 8;
    std::vector<double> shade(panels * panels);
    for (double& s : shade) s = random.range(0.8, 1.1);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            int cell = size / panels;
            int px = x / cell, py = y / cell;
            int ix = x % cell, iy = y % cell;
            double seam = (ix == 0 || iy == 0) ? 0.45 : (ix == 1 || iy == 1) ? 0.8 : 1.0;
            double grime = 0.9 + 0.1 * noise.fractal(x * 0.05, y * 0.05, 0, 4);
            Color c = scaled(base, shade[py * panels + px] * seam * grime);
            if (py == 3 && iy > cell / 3 && iy < cell * 2 / 3) c = scaled(accent, seam * grime);
            if ((ix - cell / 2) * (ix - cell / 2) + (iy - cell / 2) * (iy - cell / 2) < 4 && (px + py) % 3 == 0)
                c = rgb(0.2, 0.2, 0.22);
            image.at(x, y) = c;
        }
    }
    return image;
}

Image paintChrome(int size, Color sky, Color ground) {
    return paintCentred(size, [&](double, double dy, double distance) {
        double r = std::min(1.0, distance);
        // row 0 is the top of the picture: sky above, a bright horizon, dark ground below
        double up = -dy;
        Color c = up > 0 ? mix(rgb(0.9, 0.92, 1.0), sky, smoothstep(0.0, 0.8, up))
                         : mix(rgb(0.7, 0.7, 0.75), ground, smoothstep(0.0, 0.3, -up));
        double horizon = std::exp(-up * up * 300.0);
        c = added(c, rgb(horizon, horizon, horizon));
        return scaled(c, 0.6 + 0.4 * (1.0 - r * r));
    });
}

Image paintFlame(int size) {
    return paintCentred(size, [&](double, double, double r) {
        double v = std::exp(-r * r * 4.0) * (1.0 - smoothstep(0.8, 1.0, r));
        return scaled(rgb(1, 1, 1), v);
    });
}

Image paintAurora(int width, int height, uint64_t seed, Color low, Color high) {
    Image image(width, height);
    Noise noise(seed);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double u = (x + 0.5) / width, v = 1.0 - (y + 0.5) / height;  // v = 0 at the bottom edge
            double curtain = 0.5 + 0.5 * noise.fractal(u * 9, 0.5, 0.2, 4);
            double rays = 0.6 + 0.4 * noise.at(u * 80, v * 1.5, 3.0);
            double base = 0.15 + 0.1 * noise.fractal(u * 4, 2, 1, 3);
            double profile = v < base ? smoothstep(base - 0.05, base, v) : std::exp(-(v - base) * 3.0);
            double sides = smoothstep(0.0, 0.15, u) * smoothstep(0.0, 0.15, 1.0 - u);
            double top = 1.0 - smoothstep(0.8, 1.0, v);
            double value = curtain * rays * profile * sides * top;
            image.at(x, y) = scaled(mix(low, high, clamp01((v - base) * 1.6)), value * 1.3);
        }
    }
    return image;
}

Image paintRing(int size, uint64_t seed, Color tint) {
    Noise noise(seed);
    return paintCentred(size, [&](double, double, double r) {
        double bands = 0.5 + 0.5 * noise.fractal(r * 30, 0.5, 0.5, 4);
        double gap = 1.0 - 0.85 * std::exp(-std::pow((r - 0.8) / 0.012, 2.0));
        double inside = smoothstep(0.55, 0.6, r) * (1.0 - smoothstep(0.95, 0.98, r));
        return scaled(tint, inside * gap * (0.25 + 0.75 * bands));
    });
}

Image paintNavLight(int size, Color tint) {
    return paintCentred(size, [&](double, double, double r) {
        double core = std::exp(-r * r * 120.0);
        double halo = std::exp(-r * 4.0) * (1.0 - smoothstep(0.8, 1.0, r));
        return added(scaled(tint, halo), rgb(core, core, core));
    });
}

Image paintAlphaGlow(int size, Color tint) {
    return paintCentred(size, [&](double, double, double r) {
        double v = std::exp(-r * r * 5.0) * (1.0 - smoothstep(0.85, 1.0, r));
        Color c = tint;
        c.a = float(v);
        return c;
    });
}

Image paintPictureScene(int width, int height, uint64_t seed) {
    Image image(width, height);
    Random random(seed);
    for (int i = 0; i < width * height / 60; ++i) {
        double bright = std::pow(random.unit(), 5.0) * 1.2 + 0.1;
        image.addGlow(random.range(0, width), random.range(0, height), bright > 0.7 ? 1.6 : 0.9,
                      rgb(bright * 0.9, bright * 0.95, bright));
    }
    // A galaxy seen at a slant in the upper left, squashed from a face-on one.
    int galaxySize = height;
    Image galaxy = paintGalaxy(galaxySize, seed + 1, rgb(0.4, 0.6, 1.0));
    double gx = width * 0.3, gy = height * 0.32, tilt = 0.35, squash = 0.45;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double dx = x - gx, dy = y - gy;
            double u = (dx * std::cos(tilt) + dy * std::sin(tilt)) * 0.65 + galaxySize / 2.0;
            double v = (-dx * std::sin(tilt) + dy * std::cos(tilt)) / squash * 0.65 + galaxySize / 2.0;
            if (u < 0 || v < 0 || u >= galaxySize || v >= galaxySize) continue;
            image.at(x, y) = added(image.at(x, y), scaled(galaxy.at(int(u), int(v)), 0.9));
        }
    }
    // A banded giant in the lower right, lit from the galaxy's side, with a thin blue rim.
    Noise noise(seed + 2);
    double cx = width * 0.82, cy = height * 0.9, radius = height * 0.55;
    double lx = -0.62, ly = -0.45, lz = 0.64;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double nx = (x + 0.5 - cx) / radius, ny = (y + 0.5 - cy) / radius;
            double r2 = nx * nx + ny * ny;
            Color& p = image.at(x, y);
            if (r2 >= 1.0) {
                double rim = std::exp(-(std::sqrt(r2) - 1.0) * 25.0) * clamp01(0.3 - (nx * lx + ny * ly));
                p = added(p, rgb(0.3 * rim, 0.5 * rim, 1.0 * rim));
                continue;
            }
            double nz = std::sqrt(1.0 - r2);
            double light = clamp01(nx * lx + ny * ly + nz * lz);
            Color surface = gasAt(noise, nx * 0.9 + 0.1 * ny, -ny, nz, rgb(0.9, 0.95, 1.1));
            p = added(scaled(surface, 0.05 + 1.05 * light), rgb(0.1 * (1 - nz), 0.2 * (1 - nz), 0.45 * (1 - nz)));
        }
    }
    return image;
}
