// The clock in the bottom bar and the frame-rate number in the top bar, in digit glyphs.
#pragma once

#include <cstddef>
#include <cstdint>

// "hh:mm:ss", each field two digits. `out` holds at least kClockTextSize bytes.
constexpr std::size_t kClockTextSize = 16;
void formatClock(int hours, int minutes, int seconds, char* out);

// The local time from x 420 in the bottom bar.
void drawClock();
// `count` from (0, 540), the left end of the top bar.
void drawFps(std::uint32_t count);
