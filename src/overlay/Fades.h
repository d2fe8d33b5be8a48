// The four scene fades, to and from black and white, over the letterbox view.
#pragma once

#include "script/Camera.h"

// The alpha of a fade window at scene time t: false when t is outside [start, end].
// Fades out rise from 0 to 1 across the window, fades in fall from 1 to 0. A window
// whose start equals its end counts as complete at that instant (1 out, 0 in).
bool fadeAlpha(const FadeWindow& window, double t, bool fadingIn, float& alpha);

// Blends a grey veil of the given opacity over the whole view; call inside a view overlay
// with texturing off. Leaves the additive blend the rest of the frame expects.
void drawVeil(float grey, float alpha);

// Draws every window that contains the camera's time, in the order black out, black in,
// white out, white in, each blended over what is there.
void drawFades(const Camera& camera);
