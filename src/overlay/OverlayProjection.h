// The two orthographic projections of everything drawn flat over the 3D view. Each begin
// must be followed by its end before the frame ends, with nothing pushed in between left.
#pragma once

// Overlay space: 800 x 600 over the whole window, origin bottom left, whatever the
// resolution. Leaving it restores the letterbox viewport.
void beginScreenOverlay();
void endScreenOverlay();

// View overlay space: x 0..W and y H/8..7H/8 over the letterbox viewport (W, H the
// Width and Height settings), so one unit is one window pixel.
void beginViewOverlay();
void endViewOverlay();

// The letterbox: the middle three quarters of the window height.
void setLetterboxViewport();
