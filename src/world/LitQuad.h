// A billboard's quad drawn cell by cell (DarkCells' grid over its texture) where that is
// cheaper and shows the same: with additive blending a black texel adds nothing, so cells
// where every texel the filter can read is black are left out (how far it reads follows
// from the mipmap level each cell can be drawn at), and cells where the texture is
// magnified sample level 0 alone.
#pragma once

#include "script/Vec3.h"

// The quad of drawQuadStrip (corners (-a-b, a-b, -a+b, a+b) × scale, texture coordinates
// (0,0) (1,0) (0,1) (1,1)) with `texture` bound and the additive blend function in force.
void drawLitQuad(unsigned texture, Vec3 a, Vec3 b, float scale);

// The deepest mipmap level a draw can read where a pixel spans at most `texelsPerPixel`
// texels (a level more than GL's rule, for the renderer's approximate level choice).
int deepestLevelRead(float texelsPerPixel);
