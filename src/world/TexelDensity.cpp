#include "world/TexelDensity.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr float kInfinite = std::numeric_limits<float>::infinity();

ClipVector along(ClipVector o, ClipVector a, ClipVector b, float u, float v) {
    return {o.x + u * a.x + v * b.x, o.y + u * a.y + v * b.y, o.z + u * a.z + v * b.z, o.w + u * a.w + v * b.w};
}

// Window pixels moved per unit of a texture coordinate, at point p, for the clip-space
// change d of that unit: the derivative of (x/w, y/w) scaled to the viewport.
void pixelsPerUnit(ClipVector p, ClipVector d, float halfWidth, float halfHeight, float& dx, float& dy) {
    float w2 = p.w * p.w;
    dx = halfWidth * (d.x * p.w - p.x * d.w) / w2;
    dy = halfHeight * (d.y * p.w - p.y * d.w) / w2;
}

// Largest singular value of the 2 × 3 map with rows a and b.
float largestStretch(Vec3 a, Vec3 b) {
    float aa = dot(a, a), bb = dot(b, b), ab = dot(a, b);
    float half = (aa + bb) / 2;
    float spread = std::sqrt(std::max(0.0f, (aa - bb) * (aa - bb) / 4 + ab * ab));
    return std::sqrt(half + spread);
}

}  // namespace

float quadTexelsPerPixel(ClipVector origin, ClipVector alongU, ClipVector alongV, float viewportWidth,
                         float viewportHeight, float texelsU, float texelsV) {
    // On a flat quad the texel rate is w² times a quantity whose size is largest at a
    // corner, so the corners' rates scaled by (largest w / smallest w)² bound every point.
    float worst = 0, wMin = kInfinite, wMax = 0;
    for (int corner = 0; corner < 4; ++corner) {
        ClipVector p = along(origin, alongU, alongV, float(corner & 1), float(corner >> 1));
        if (!(p.w > 1e-6f)) return kInfinite;
        wMin = std::min(wMin, p.w);
        wMax = std::max(wMax, p.w);
        float xu, yu, xv, yv;
        pixelsPerUnit(p, alongU, viewportWidth / 2, viewportHeight / 2, xu, yu);
        pixelsPerUnit(p, alongV, viewportWidth / 2, viewportHeight / 2, xv, yv);
        xu /= texelsU, yu /= texelsU, xv /= texelsV, yv /= texelsV;  // pixels per texel
        float det = xu * yv - xv * yu;
        if (!(std::fabs(det) > 1e-12f)) return kInfinite;
        // Texels per pixel: the inverse map's columns, d(u, v)/dx and d(u, v)/dy.
        float perX = std::hypot(yv, yu) / std::fabs(det);
        float perY = std::hypot(xv, xu) / std::fabs(det);
        worst = std::max({worst, perX, perY});
    }
    float ratio = wMax / wMin;
    return worst * ratio * ratio;
}

bool makeSkyFace(const Vec3 corner[3], const float u[3], const float v[3], SkyFace& face) {
    Vec3 e1 = corner[1] - corner[0], e2 = corner[2] - corner[0];
    Vec3 normal = cross(e1, e2);
    float area2 = dot(normal, normal);
    if (!(area2 > 0)) return false;
    // The gradient of a coordinate over the face's plane, from its changes along e1 and e2.
    auto gradient = [&](const float c[3]) {
        float d1 = c[1] - c[0], d2 = c[2] - c[0];
        return (cross(e2, normal) * d1 + cross(normal, e1) * d2) * (1 / area2);
    };
    face = SkyFace{};
    face.gradU = gradient(u);
    face.gradV = gradient(v);
    Vec3 centre = (corner[0] + corner[1] + corner[2]) * (1.0f / 3);
    face.direction = normalize(centre);
    Vec3 unitNormal = normalize(normal);
    face.cosRadius = 1;
    for (int i = 0; i < 3; ++i) {
        float distance = length(corner[i]);
        float slant = distance > 0 ? std::fabs(dot(corner[i] * (1 / distance), unitNormal)) : 0;
        if (!(slant > 1e-3f)) {
            // Seen edge-on or through the eye: no bound, so such a face is never magnified.
            face.reach = kInfinite;
            face.cosRadius = -1;
            break;
        }
        // distance / slant is distance² over the plane's distance: largest at a corner.
        face.reach = std::max(face.reach, distance / slant);
        face.cosRadius = std::min(face.cosRadius, dot(face.direction, corner[i] * (1 / distance)));
    }
    return true;
}

float skyFaceDensity(const SkyFace& face) { return largestStretch(face.gradU, face.gradV) * face.reach; }

float skyTexelsPerPixel(const std::vector<SkyFace>& faces, Vec3 forward, float halfDiagonal, float radiansPerPixel,
                        float texelsU, float texelsV) {
    float worst = 0;
    for (const SkyFace& face : faces) {
        // Visible when the angle to the view axis, less the face's own radius, is inside
        // the frustum's corner angle.
        float toAxis = std::acos(std::clamp(dot(face.direction, forward), -1.0f, 1.0f));
        float radius = std::acos(std::clamp(face.cosRadius, -1.0f, 1.0f));
        if (toAxis - radius > halfDiagonal) continue;
        float perLength = largestStretch(face.gradU * texelsU, face.gradV * texelsV);
        worst = std::max(worst, perLength * face.reach * radiansPerPixel);
    }
    return worst;
}
