// How many texels one window pixel spans on a textured surface, bounded from above, so a
// draw whose texture is magnified everywhere can sample level 0 alone. With the min
// filter linear-mipmap-linear and the mag filter linear, GL magnifies (level 0, bilinear)
// wherever that count is at most 1: a min filter of plain linear then gives the very same
// texels, and a software renderer skips the level choice and the second level's fetches.
#pragma once

#include <vector>

#include "script/Vec3.h"

// A point or direction after the model-view and projection matrices.
struct ClipVector {
    float x = 0, y = 0, z = 0, w = 0;
};

// Bounds below this leave room for the renderer's own approximate level choice.
constexpr float kSafelyMagnified = 0.5f;

// The largest texels-per-pixel anywhere on the flat quad origin + u·alongU + v·alongV
// (u, v in 0..1, texture coordinates (u, v)) for a texture of texelsU × texelsV, in a
// viewport of the given size. Infinite when a corner lies at or behind the eye, or the
// quad is seen edge-on.
float quadTexelsPerPixel(ClipVector origin, ClipVector alongU, ClipVector alongV, float viewportWidth,
                         float viewportHeight, float texelsU, float texelsV);

// What a face of a sky mesh gives for a bound when seen from the mesh's centre.
struct SkyFace {
    Vec3 direction;        // unit vector to the face's centre
    float cosRadius = 1;   // cosine of the largest angle from there to a corner
    Vec3 gradU, gradV;     // texture coordinate change per unit length along the face
    float reach = 0;       // how far a unit of angle carries on the face: distance / cos(slant)
};

// A triangle (positions and texture coordinates) as seen from the origin; false for a
// degenerate one, which draws nothing.
bool makeSkyFace(const Vec3 corner[3], const float u[3], const float v[3], SkyFace& face);
// Texture coordinate units per radian of view at most on the face (infinite: no bound).
float skyFaceDensity(const SkyFace& face);

// The largest texels-per-pixel on the faces that a view along `forward` (unit, in the
// mesh's frame) can show, through a frustum whose corner lies `halfDiagonal` radians off
// its axis and whose pixels span at most `radiansPerPixel` at the centre, for a texture
// of texelsU × texelsV.
float skyTexelsPerPixel(const std::vector<SkyFace>& faces, Vec3 forward, float halfDiagonal, float radiansPerPixel,
                        float texelsU, float texelsV);
