#include "overlay/Fades.h"

#include <GL/gl.h>

#include "overlay/OverlayProjection.h"
#include "script/Settings.h"

void drawVeil(float grey, float alpha) {
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(grey, grey, grey, alpha);
    float w = float(settings.width);
    float h = float(settings.height);
    glBegin(GL_QUADS);
    glVertex2f(0, 0);
    glVertex2f(w, 0);
    glVertex2f(w, h);
    glVertex2f(0, h);
    glEnd();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
}

namespace {

void drawWindow(const FadeWindow& window, double t, bool fadingIn, float grey) {
    float alpha = 0;
    if (fadeAlpha(window, t, fadingIn, alpha)) drawVeil(grey, alpha);
}

}  // namespace

bool fadeAlpha(const FadeWindow& window, double t, bool fadingIn, float& alpha) {
    if (!(window.start <= t && t <= window.end)) return false;
    double length = double(window.end) - window.start;
    double f = length > 0 ? (t - window.start) / length : 1.0;
    alpha = static_cast<float>(fadingIn ? 1 - f : f);
    return true;
}

void drawFades(const Camera& camera) {
    beginViewOverlay();
    glDisable(GL_TEXTURE_2D);
    drawWindow(fadeOutBlack, camera.time, false, 0);
    drawWindow(fadeInBlack, camera.time, true, 0);
    drawWindow(fadeOutWhite, camera.time, false, 1);
    drawWindow(fadeInWhite, camera.time, true, 1);
    endViewOverlay();
    glEnable(GL_TEXTURE_2D);
}
