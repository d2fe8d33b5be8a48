#include "overlay/ClockAndFps.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "overlay/DigitGlyphs.h"
#include "overlay/OverlayProjection.h"
#include "image/TextureLoader.h"
#include "script/Settings.h"

namespace {

// White glyphs, blended with the blend function in force (additive over the black bars).
// On a large screen the glyph texture is magnified all over (a glyph's quarter of it
// spans 64 of 800 units): level 0 alone then gives the same texels for less work.
void drawWhiteDigits(int x, int y, const char* text) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, digitGlyphs.texture);
    glColor4f(1, 1, 1, 1);
    glEnable(GL_BLEND);
    int width = 0, height = 0;
    bool magnified = mipmappedTextureSize(digitGlyphs.texture, width, height) &&
                     glyphTexelsPerPixel(width, height, int(settings.width), int(settings.height)) < 0.5f;
    if (magnified) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    drawDigits(x, y, text);
    if (magnified) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
}

}  // namespace

float glyphTexelsPerPixel(int textureWidth, int textureHeight, int screenWidth, int screenHeight) {
    if (screenWidth <= 0 || screenHeight <= 0) return 1e30f;
    // A glyph: a quarter of the texture each way over 64 units of the 800 × 600 space.
    float alongX = textureWidth / 4.0f / 64 * 800 / screenWidth;
    float alongY = textureHeight / 4.0f / 64 * 600 / screenHeight;
    return std::max(alongX, alongY);
}

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
