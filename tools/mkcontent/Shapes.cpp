#include "mkcontent/Shapes.h"
#include "mkcontent/Noise.h"
#include "mkcontent/Random.h"
#include <algorithm>
#include <map>
#include <cmath>
#include <vector>

MeshData makeUvSphere(int segments, int rings, bool inside) {
    MeshData mesh;
    // Positions: one per pole, segments per inner ring (the seam column is shared).
    auto ringPoint = [&](int ring, int seg) {
        double theta = M_PI * ring / rings;  // 0 at the north pole
        double phi = 2.0 * M_PI * seg / segments;
        return V3{std::sin(theta) * std::cos(phi), std::cos(theta), -std::sin(theta) * std::sin(phi)};
    };
    auto positionOf = [&](int ring, int seg) -> uint32_t {
        if (ring == 0) return 0;
        if (ring == rings) return 1;
        return uint32_t(2 + (ring - 1) * segments + (seg % segments));
    };
    mesh.positions.push_back({0, 1, 0});
    mesh.positions.push_back({0, -1, 0});
    for (int ring = 1; ring < rings; ++ring) {
        for (int seg = 0; seg < segments; ++seg) {
            V3 p = ringPoint(ring, seg);
            mesh.positions.push_back({float(p.x), float(p.y), float(p.z)});
        }
    }
    // Texture coordinates: a full grid, so the seam gets u = 0 and u = 1 separately.
    for (int ring = 0; ring <= rings; ++ring) {
        for (int seg = 0; seg <= segments; ++seg) {
            float u = float(seg) / float(segments);
            if (inside) u = 1.0f - u;
            mesh.texCoords.push_back({u, 1.0f - float(ring) / float(rings)});
        }
    }
    auto texOf = [&](int ring, int seg) { return uint32_t(ring * (segments + 1) + seg); };
    auto corner = [&](int ring, int seg) {
        mesh.positionIndices.push_back(positionOf(ring, seg));
        mesh.texCoordIndices.push_back(texOf(ring, seg));
        V3 n = ringPoint(ring, seg);
        if (inside) n = -n;
        mesh.normals.push_back({float(n.x), float(n.y), float(n.z)});
    };
    auto triangle = [&](int r0, int s0, int r1, int s1, int r2, int s2) {
        if (inside) {
            corner(r0, s0);
            corner(r2, s2);
            corner(r1, s1);
        } else {
            corner(r0, s0);
            corner(r1, s1);
            corner(r2, s2);
        }
    };
    for (int ring = 0; ring < rings; ++ring) {
        for (int seg = 0; seg < segments; ++seg) {
            // Counter-clockwise seen from outside: north-west, south-west, south-east, north-east.
            if (ring > 0) triangle(ring, seg, ring + 1, seg, ring, seg + 1);
            if (ring < rings - 1) triangle(ring, seg + 1, ring + 1, seg, ring + 1, seg + 1);
        }
    }
    return mesh;
}

namespace {

struct Section {
    double x;       // along the length
    double width;   // half extent sideways
    double height;  // half extent up
    double lift;    // centre height
};

// A closed hull through elliptical sections, capped at both ends; built in the
// (forward, left, up) frame with the left offset given.
void loft(MeshBuilder& b, const std::vector<Section>& sections, int sides, double left, double flatness) {
    double x0 = sections.front().x, x1 = sections.back().x;
    auto point = [&](const Section& s, int k) {
        double a = 2.0 * M_PI * k / sides;
        double c = std::cos(a), sn = std::sin(a);
        // flatness squares the section towards a rounded box
        double cy = std::copysign(std::pow(std::fabs(c), flatness), c);
        double sz = std::copysign(std::pow(std::fabs(sn), flatness), sn);
        return V3{s.x, left + s.width * cy, s.lift + s.height * sz};
    };
    auto uv = [&](const Section& s, int k) {
        return MeshData::Uv{float((s.x - x0) / (x1 - x0)), float(double(k) / sides)};
    };
    for (size_t i = 0; i + 1 < sections.size(); ++i) {
        const Section& s0 = sections[i];
        const Section& s1 = sections[i + 1];
        for (int k = 0; k < sides; ++k) {
            V3 a = point(s0, k), bb = point(s0, k + 1), c = point(s1, k + 1), d = point(s1, k);
            b.addFlat(a, bb, c, uv(s0, k), uv(s0, k + 1), uv(s1, k + 1));
            b.addFlat(a, c, d, uv(s0, k), uv(s1, k + 1), uv(s1, k));
        }
    }
    const Section& back = sections.front();
    const Section& front = sections.back();
    V3 backCentre{back.x, left, back.lift}, frontCentre{front.x, left, front.lift};
    for (int k = 0; k < sides; ++k) {
        MeshData::Uv centre{0.5f, 0.5f};
        b.addFlat(backCentre, point(back, k + 1), point(back, k), centre, uv(back, k + 1), uv(back, k));
        b.addFlat(frontCentre, point(front, k), point(front, k + 1), centre, uv(front, k), uv(front, k + 1));
    }
}

// A tapered slab from a root chord at the hull side to a swept tip chord.
void wing(MeshBuilder& b, double rootX0, double rootX1, double tipX0, double tipX1, double rootY, double tipY,
          double z, double tipZ, double thickness) {
    double side = rootY < tipY ? 1.0 : -1.0;
    V3 r0{rootX0, rootY, z}, r1{rootX1, rootY, z}, t0{tipX0, tipY, tipZ}, t1{tipX1, tipY, tipZ};
    V3 up{0, 0, thickness};
    auto uv = [&](V3 p) { return MeshData::Uv{float(p.x * 0.1 + 0.5), float(std::fabs(p.y) * 0.1)}; };
    // Top and bottom faces, wound outwards whichever side the wing is on.
    V3 top[4] = {r0 + up, r1 + up, t1 + up * 0.5, t0 + up * 0.5};
    V3 bottom[4] = {r0 - up, r1 - up, t1 - up * 0.5, t0 - up * 0.5};
    auto quad = [&](V3 a, V3 c, V3 d, V3 e) {
        b.addFlat(a, c, d, uv(a), uv(c), uv(d));
        b.addFlat(a, d, e, uv(a), uv(d), uv(e));
    };
    if (side > 0) {
        quad(top[0], top[1], top[2], top[3]);
        quad(bottom[0], bottom[3], bottom[2], bottom[1]);
        quad(top[1], bottom[1], bottom[2], top[2]);  // leading edge
        quad(top[3], bottom[3], bottom[0], top[0]);  // trailing edge
        quad(top[2], bottom[2], bottom[3], top[3]);  // tip
    } else {
        quad(top[0], top[3], top[2], top[1]);
        quad(bottom[0], bottom[1], bottom[2], bottom[3]);
        quad(top[1], top[2], bottom[2], bottom[1]);
        quad(top[3], top[0], bottom[0], bottom[3]);
        quad(top[2], top[3], bottom[3], bottom[2]);
    }
}

MeshData finishShip(MeshBuilder& b) {
    b.smooth(35.0);
    b.toFlightFrame();
    return b.data();
}

}  // namespace

MeshData makeFighter() {
    MeshBuilder b;
    loft(b,
         {{-4.5, 0.7, 0.5, 0}, {-3.5, 1.0, 0.7, 0.05}, {-1.0, 1.1, 0.8, 0.1}, {1.5, 0.8, 0.6, 0.05},
          {3.5, 0.4, 0.3, -0.05}, {5.0, 0.05, 0.05, -0.1}},
         12, 0.0, 0.8);
    // cockpit canopy
    loft(b, {{-0.5, 0.05, 0.05, 0.75}, {0.3, 0.35, 0.3, 0.8}, {1.5, 0.3, 0.25, 0.65}, {2.2, 0.05, 0.05, 0.5}}, 10,
         0.0, 1.0);
    wing(b, -3.8, 0.5, -5.0, -3.6, 0.9, 5.2, -0.1, -0.3, 0.12);
    wing(b, -3.8, 0.5, -5.0, -3.6, -0.9, -5.2, -0.1, -0.3, 0.12);
    // engine pods at the wing roots
    for (double side : {1.6, -1.6}) {
        loft(b, {{-5.0, 0.45, 0.45, -0.2}, {-4.6, 0.55, 0.55, -0.2}, {-1.5, 0.5, 0.5, -0.2}, {-0.5, 0.2, 0.2, -0.2}},
             10, side, 1.0);
    }
    return finishShip(b);
}

MeshData makeFreighter() {
    MeshBuilder b;
    loft(b, {{-6.0, 1.2, 1.2, 0}, {-5.0, 1.6, 1.6, 0}, {4.0, 1.6, 1.6, 0}, {5.5, 1.2, 1.0, 0.2}, {6.5, 0.5, 0.4, 0.3}},
         8, 0.0, 0.6);
    // cargo pods on both flanks
    for (double side : {2.4, -2.4}) {
        for (double x : {-3.5, -0.5, 2.5}) {
            loft(b, {{x - 1.3, 0.7, 0.9, -0.2}, {x + 1.3, 0.7, 0.9, -0.2}}, 4, side, 0.3);
        }
    }
    // bridge tower
    loft(b, {{2.5, 0.5, 0.4, 2.0}, {4.2, 0.7, 0.5, 2.0}, {4.8, 0.4, 0.3, 1.9}}, 8, 0.0, 0.7);
    // engine block
    for (double side : {0.9, -0.9}) {
        loft(b, {{-7.2, 0.8, 0.8, -0.2}, {-6.8, 0.9, 0.9, -0.2}, {-5.0, 0.8, 0.8, -0.2}}, 10, side, 1.0);
    }
    return finishShip(b);
}

MeshData makeCourier() {
    MeshBuilder b;
    loft(b,
         {{-3.0, 0.4, 0.3, 0}, {-2.5, 0.7, 0.45, 0}, {0.0, 0.8, 0.5, 0.05}, {2.0, 0.5, 0.35, 0},
          {3.5, 0.05, 0.05, -0.05}},
         10, 0.0, 0.9);
    wing(b, -2.6, 0.6, -3.2, -2.2, 0.7, 3.6, 0.0, 0.6, 0.08);
    wing(b, -2.6, 0.6, -3.2, -2.2, -0.7, -3.6, 0.0, 0.6, 0.08);
    return finishShip(b);
}

namespace {
// A ring of quads around the y axis: a tube section used for the wheel and the hub.
void torus(MeshBuilder& b, double major, double minor, int around, int tube) {
    auto point = [&](int i, int j) {
        double a = 2.0 * M_PI * i / around, t = 2.0 * M_PI * j / tube;
        double r = major + minor * std::cos(t);
        return V3{r * std::cos(a), minor * std::sin(t), r * std::sin(a)};
    };
    auto uv = [&](int i, int j) { return MeshData::Uv{float(8.0 * i / around), float(double(j) / tube)}; };
    for (int i = 0; i < around; ++i) {
        for (int j = 0; j < tube; ++j) {
            V3 a = point(i, j), c = point(i + 1, j), d = point(i + 1, j + 1), e = point(i, j + 1);
            b.addFlat(a, e, d, uv(i, j), uv(i, j + 1), uv(i + 1, j + 1));
            b.addFlat(a, d, c, uv(i, j), uv(i + 1, j + 1), uv(i + 1, j));
        }
    }
}

// An axis-aligned box given by two corners.
void box(MeshBuilder& b, V3 lo, V3 hi) {
    V3 c[8];
    for (int i = 0; i < 8; ++i) c[i] = {(i & 1) ? hi.x : lo.x, (i & 2) ? hi.y : lo.y, (i & 4) ? hi.z : lo.z};
    const int faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    MeshData::Uv t[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (const auto& f : faces) {
        b.addFlat(c[f[0]], c[f[1]], c[f[2]], t[0], t[1], t[2]);
        b.addFlat(c[f[0]], c[f[2]], c[f[3]], t[0], t[2], t[3]);
    }
}
}  // namespace

MeshData makeStation() {
    MeshBuilder b;
    torus(b, 55.0, 6.0, 48, 12);
    // hub: a fat spindle along y
    {
        int sides = 16;
        double ys[] = {-30, -26, -10, 10, 26, 30};
        double rs[] = {4, 9, 12, 12, 9, 4};
        for (int i = 0; i + 1 < 6; ++i) {
            for (int k = 0; k < sides; ++k) {
                double a0 = 2 * M_PI * k / sides, a1 = 2 * M_PI * (k + 1) / sides;
                V3 p00{rs[i] * std::cos(a0), ys[i], rs[i] * std::sin(a0)};
                V3 p01{rs[i] * std::cos(a1), ys[i], rs[i] * std::sin(a1)};
                V3 p10{rs[i + 1] * std::cos(a0), ys[i + 1], rs[i + 1] * std::sin(a0)};
                V3 p11{rs[i + 1] * std::cos(a1), ys[i + 1], rs[i + 1] * std::sin(a1)};
                MeshData::Uv t00{float(double(k) / sides), float(i / 5.0)}, t01{float(double(k + 1) / sides), float(i / 5.0)};
                MeshData::Uv t10{t00.u, float((i + 1) / 5.0)}, t11{t01.u, float((i + 1) / 5.0)};
                b.addFlat(p00, p10, p11, t00, t10, t11);
                b.addFlat(p00, p11, p01, t00, t11, t01);
            }
        }
    }
    // spokes and solar panels
    for (int k = 0; k < 4; ++k) {
        double a = M_PI / 2 * k;
        V3 dir{std::cos(a), 0, std::sin(a)};
        V3 side{-dir.z, 0, dir.x};
        for (int step = 0; step < 6; ++step) {
            double r0 = 12 + 7 * step, r1 = r0 + 6.5;
            V3 p0 = dir * r0 - side * 1.5 + V3{0, -1.5, 0}, p1 = dir * r1 + side * 1.5 + V3{0, 1.5, 0};
            box(b, {std::min(p0.x, p1.x), p0.y, std::min(p0.z, p1.z)}, {std::max(p0.x, p1.x), p1.y, std::max(p0.z, p1.z)});
        }
    }
    for (double y : {34.0, -34.0}) {
        box(b, {-1.0, y - 2, -1.0}, {1.0, y + 2, 1.0});
        box(b, {-40, y - 0.3, -6}, {-3, y + 0.3, 6});
        box(b, {3, y - 0.3, -6}, {40, y + 0.3, 6});
    }
    b.smooth(40.0);
    return b.data();
}

MeshData makeAsteroid(uint64_t seed) {
    // An icosahedron subdivided three times, pushed in and out by noise.
    const double t = (1.0 + std::sqrt(5.0)) / 2.0;
    std::vector<V3> v = {{-1, t, 0}, {1, t, 0}, {-1, -t, 0}, {1, -t, 0}, {0, -1, t}, {0, 1, t},
                         {0, -1, -t}, {0, 1, -t}, {t, 0, -1}, {t, 0, 1}, {-t, 0, -1}, {-t, 0, 1}};
    std::vector<int> f = {0, 11, 5, 0, 5, 1, 0, 1, 7, 0, 7, 10, 0, 10, 11, 1, 5, 9, 5, 11, 4, 11, 10, 2, 10, 7, 6, 7, 1, 8,
                          3, 9, 4, 3, 4, 2, 3, 2, 6, 3, 6, 8, 3, 8, 9, 4, 9, 5, 2, 4, 11, 6, 2, 10, 8, 6, 7, 9, 8, 1};
    for (auto& p : v) p = normalized(p);
    for (int level = 0; level < 3; ++level) {
        std::vector<int> next;
        std::map<std::pair<int, int>, int> mid;
        auto middle = [&](int a, int c) {
            auto key = std::make_pair(std::min(a, c), std::max(a, c));
            auto it = mid.find(key);
            if (it != mid.end()) return it->second;
            v.push_back(normalized(v[a] + v[c]));
            mid[key] = int(v.size() - 1);
            return int(v.size() - 1);
        };
        for (size_t i = 0; i < f.size(); i += 3) {
            int a = f[i], c = f[i + 1], d = f[i + 2];
            int ab = middle(a, c), bc = middle(c, d), ca = middle(d, a);
            int tri[12] = {a, ab, ca, c, bc, ab, d, ca, bc, ab, bc, ca};
            next.insert(next.end(), tri, tri + 12);
        }
        f = next;
    }
    Noise noise(seed);
    Random random(seed + 17);
    V3 stretch{random.range(0.7, 1.3), random.range(0.6, 1.0), random.range(0.8, 1.4)};
    for (auto& p : v) {
        double bump = 1.0 + 0.35 * noise.fractal(p.x * 1.3 + 5, p.y * 1.3, p.z * 1.3, 4);
        double crater = noise.ridged(p.x * 2.5, p.y * 2.5 + 9, p.z * 2.5, 2);
        bump -= 0.12 * crater;
        p = V3{p.x * stretch.x, p.y * stretch.y, p.z * stretch.z} * bump;
    }
    MeshBuilder b;
    for (size_t i = 0; i < f.size(); i += 3) {
        V3 p[3] = {v[f[i]], v[f[i + 1]], v[f[i + 2]]};
        MeshData::Uv uv[3];
        for (int k = 0; k < 3; ++k) {
            V3 n = normalized(p[k]);
            uv[k] = {float(0.5 + 0.5 * n.x), float(0.5 + 0.5 * n.y)};
        }
        b.addFlat(p[0], p[1], p[2], uv[0], uv[1], uv[2]);
    }
    b.smooth(70.0);
    return b.data();
}

MeshData makeHauler() {
    MeshBuilder b;
    loft(b, {{-8.6, 0.5, 0.5, 0}, {8.0, 0.5, 0.5, 0}}, 6, 0.0, 1.0);  // spine
    // bridge: a blunt wedge ahead of the cargo, with a raised deck
    loft(b, {{7.5, 1.3, 1.0, 0.2}, {9.5, 1.5, 1.1, 0.3}, {11.0, 1.1, 0.8, 0.2}, {12.0, 0.4, 0.3, 0.1}}, 8, 0.0, 0.5);
    loft(b, {{8.6, 0.5, 0.35, 1.35}, {10.2, 0.6, 0.35, 1.35}, {10.8, 0.3, 0.2, 1.2}}, 8, 0.0, 0.6);
    // containers: four round the spine at each of five stations
    for (int i = 0; i < 5; ++i) {
        double x = -6.8 + 2.75 * i;
        for (int k = 0; k < 4; ++k) {
            double cy = (k & 1) ? 0.62 : -0.62, cz = (k & 2) ? 0.62 : -0.62;
            box(b, {x, cy - 0.55, cz - 0.55}, {x + 2.5, cy + 0.55, cz + 0.55});
        }
    }
    // engine housing and three bells
    loft(b, {{-11.0, 1.2, 1.2, 0}, {-10.6, 2.1, 1.5, 0}, {-8.8, 2.1, 1.5, 0}, {-8.4, 1.2, 1.0, 0}}, 12, 0.0, 0.7);
    for (double side : {-1.3, 0.0, 1.3}) {
        loft(b, {{-12.6, 0.55, 0.55, 0}, {-11.8, 0.4, 0.4, 0}, {-11.0, 0.3, 0.3, 0}}, 10, side, 1.0);
    }
    // radiator fins above and below the housing
    box(b, {-10.2, -0.08, 1.4}, {-8.9, 0.08, 3.2});
    box(b, {-10.2, -0.08, -3.2}, {-8.9, 0.08, -1.4});
    return finishShip(b);
}

MeshData makeProbe() {
    MeshBuilder b;
    loft(b, {{-1.2, 0.6, 0.6, 0}, {-1.0, 0.8, 0.8, 0}, {1.0, 0.8, 0.8, 0}, {1.2, 0.5, 0.5, 0}}, 8, 0.0, 1.0);
    // the dish, a shallow bowl facing forward, and its feed
    loft(b, {{1.2, 0.25, 0.25, 0}, {1.55, 1.2, 1.2, 0}, {1.75, 1.75, 1.75, 0}, {1.8, 1.8, 1.8, 0}}, 16, 0.0, 1.0);
    box(b, {1.8, -0.05, -0.05}, {2.9, 0.05, 0.05});
    // solar wings on a boom
    box(b, {-0.1, -4.8, -0.04}, {0.1, 4.8, 0.04});
    box(b, {-0.7, 1.2, -0.03}, {0.7, 4.6, 0.03});
    box(b, {-0.7, -4.6, -0.03}, {0.7, -1.2, 0.03});
    // power unit on a short mast below, and the nozzle
    box(b, {-0.6, -0.06, -2.0}, {-0.4, 0.06, -0.7});
    loft(b, {{-0.9, 0.18, 0.18, -2.4}, {-0.1, 0.18, 0.18, -2.4}}, 6, 0.0, 1.0);
    loft(b, {{-1.8, 0.35, 0.35, 0}, {-1.5, 0.25, 0.25, 0}, {-1.2, 0.2, 0.2, 0}}, 8, 0.0, 1.0);
    return finishShip(b);
}
