#include "overlay/ClockAndFps.h"

#include <GL/gl.h>

#include <cstdio>
#include <ctime>

#include "overlay/DigitGlyphs.h"
#include "overlay/OverlayProjection.h"

namespace {

// White glyphs, blended with the blend function in force (additive over the black bars).
void drawWhiteDigits(int x, int y, const char* text) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, digitGlyphs.texture);
    glColor4f(1, 1, 1, 1);
    glEnable(GL_BLEND);
    drawDigits(x, y, text);
}

}  // namespace

void formatClock(int hours, int minutes, int seconds, char* out) {
    std::snprintf(out, kClockTextSize, "%02d:%02d:%02d", hours, minutes, seconds);
}

void drawClock() {
    beginScreenOverlay();
    glLoadIdentity();
    std::time_t now = std::time(nullptr);
    std::tm local{};
    // The re-entrant form does not reload the time-zone rules every call, so a frame
    // makes no allocation or file access for its clock.
#ifdef _WIN32
    bool known = localtime_s(&local, &now) == 0;
#else
    bool known = localtime_r(&now, &local) != nullptr;
#endif
    char text[kClockTextSize] = "00:00:00";
    if (known) formatClock(local.tm_hour, local.tm_min, local.tm_sec, text);
    drawWhiteDigits(420, 0, text);
    endScreenOverlay();
}

void drawFps(std::uint32_t count) {
    beginScreenOverlay();
    glLoadIdentity();
    char text[16];
    std::snprintf(text, sizeof(text), "%u", static_cast<unsigned>(count));
    drawWhiteDigits(0, 540, text);
    endScreenOverlay();
}
