// The textured quad that billboards and flame sheets are made of.
#pragma once

#include "script/Vec3.h"

// Draws one triangle-strip quad with corners (-a-b, a-b, -a+b, a+b) × scale and texture
// coordinates (0,0) (1,0) (0,1) (1,1), around the current origin.
void drawQuadStrip(Vec3 a, Vec3 b, float scale);
