#include "world/LevelZeroSampling.h"

#include <GL/gl.h>

#include <cmath>

#include "image/TextureLoader.h"

ViewTransform currentViewTransform() {
    float mv[16], p[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, mv);
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    int viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    ViewTransform t;
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += p[k * 4 + row] * mv[col * 4 + k];
            t.m[col * 4 + row] = sum;
        }
    t.width = float(viewport[2]);
    t.height = float(viewport[3]);
    return t;
}

ClipVector toClip(const ViewTransform& t, Vec3 v, float w) {
    const float* m = t.m;
    return {m[0] * v.x + m[4] * v.y + m[8] * v.z + m[12] * w, m[1] * v.x + m[5] * v.y + m[9] * v.z + m[13] * w,
            m[2] * v.x + m[6] * v.y + m[10] * v.z + m[14] * w, m[3] * v.x + m[7] * v.y + m[11] * v.z + m[15] * w};
}

bool quadMagnified(unsigned texture, Vec3 origin, Vec3 alongU, Vec3 alongV) {
    int width = 0, height = 0;
    if (!mipmappedTextureSize(texture, width, height)) return false;
    ViewTransform t = currentViewTransform();
    float bound = quadTexelsPerPixel(toClip(t, origin, 1), toClip(t, alongU, 0), toClip(t, alongV, 0), t.width,
                                     t.height, float(width), float(height));
    return bound < kSafelyMagnified;
}

bool skyMagnified(unsigned texture, const std::vector<SkyFace>& faces, float fov, float tiling) {
    int width = 0, height = 0;
    if (faces.empty() || !mipmappedTextureSize(texture, width, height)) return false;
    float mv[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, mv);
    int viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    if (viewport[2] <= 0 || viewport[3] <= 0) return false;
    // The eye looks along -z: in the mesh's frame that is minus the matrix's third row.
    Vec3 forward = normalize(make(-mv[2], -mv[6], -mv[10]));
    // The frustum is 3.2·fov by 1.8·fov at distance 1; at its centre a pixel spans the most.
    float radiansPerPixel = std::fmax(3.2f * fov / viewport[2], 1.8f * fov / viewport[3]);
    float halfDiagonal = std::atan(std::hypot(1.6f, 0.9f) * fov);
    float bound = skyTexelsPerPixel(faces, forward, halfDiagonal, radiansPerPixel, width * std::fabs(tiling), height * std::fabs(tiling));
    return bound < kSafelyMagnified;
}

LevelZeroSampling::LevelZeroSampling(bool magnified) : active_(magnified) {
    if (active_) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
}

LevelZeroSampling::~LevelZeroSampling() {
    if (active_) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
}
