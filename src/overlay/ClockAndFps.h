// The clock in the bottom bar and the frame-rate number in the top bar, in digit glyphs.
#pragma once

#include <cstddef>
#include <cstdint>

// "hh:mm:ss", each field two digits. `out` holds at least kClockTextSize bytes.
constexpr std::size_t kClockTextSize = 16;
void formatClock(int hours, int minutes, int seconds, char* out);

// Texels per screen pixel on a glyph (a quarter of a textureWidth × textureHeight texture
// over 64 × 64 units of the 800 × 600 overlay space).
float glyphTexelsPerPixel(int textureWidth, int textureHeight, int screenWidth, int screenHeight);

// The local time from x 420 in the bottom bar.
void drawClock();
// `count` from (0, 540), the left end of the top bar.
void drawFps(std::uint32_t count);
