// The GL side of the texel-density bounds: reads the current transform, and switches the
// bound texture to level-0 sampling for one draw that is magnified everywhere.
#pragma once

#include <vector>

#include "script/Vec3.h"
#include "world/TexelDensity.h"

// Projection × model-view (column-major) and the viewport's size, as GL has them now.
struct ViewTransform {
    float m[16];
    float width, height;
};
ViewTransform currentViewTransform();
// w = 1 for a point, 0 for a direction.
ClipVector toClip(const ViewTransform& t, Vec3 v, float w);

// True when the quad origin + u·alongU + v·alongV (model-view coordinates before the
// current matrices, texture coordinates (u, v)) shows `texture`, a mipmapped texture of
// the loaders, magnified at every pixel under the current matrices and viewport.
bool quadMagnified(unsigned texture, Vec3 origin, Vec3 alongU, Vec3 alongV);

// The same for a sky mesh drawn around the eye through a frustum of scale `fov` (the
// frustum of environment objects), its faces given by `faces`, the texture repeated
// `tiling` times.
bool skyMagnified(unsigned texture, const std::vector<SkyFace>& faces, float fov, float tiling);

// While it lives, the bound texture samples level 0 with the plain linear filter when
// `magnified`; then the mipmapped filter again.
class LevelZeroSampling {
public:
    explicit LevelZeroSampling(bool magnified);
    ~LevelZeroSampling();
    LevelZeroSampling(const LevelZeroSampling&) = delete;
    LevelZeroSampling& operator=(const LevelZeroSampling&) = delete;

private:
    bool active_;
};
