#include "overlay/LoadingScreen.h"

#include <GL/gl.h>

#include "image/TextureLoader.h"
#include "overlay/Fades.h"
#include "overlay/OverlayProjection.h"
#include "script/Maths.h"
#include "script/Settings.h"

LoadingScreen loadingScreen;

namespace {

constexpr float kAnimationSeconds = 6;

// A quad centred on (400, 300) with half-extents (a, b), the whole texture on it.
void drawCentredQuad(float a, float b) {
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(400 - a, 300 - b);
    glTexCoord2f(0, 1);
    glVertex2f(400 - a, 300 + b);
    glTexCoord2f(1, 1);
    glVertex2f(400 + a, 300 + b);
    glTexCoord2f(1, 0);
    glVertex2f(400 + a, 300 - b);
    glEnd();
}

void drawWhiteVeil(float alpha) {
    beginViewOverlay();
    glDisable(GL_TEXTURE_2D);
    drawVeil(1, alpha);
    glEnable(GL_TEXTURE_2D);
    endViewOverlay();
}

}  // namespace

LoadingFrame loadingFrameAt(float p) {
    LoadingFrame frame;
    float g = ease(p, 0, 0.2f);
    frame.glowHalfWidth = g * 60 + 128;
    frame.glowHalfHeight = g * 20 + 148;
    frame.glowAlpha = 1 - p;
    frame.pictureHalfWidth = ease(p, 0.2f, 0.2f) * 40 + 128;
    frame.pictureHalfHeight = ease(p, 0, 0.2f) * 5 + 148;
    frame.pictureLevel = 1 - p;
    frame.veilAlpha = p;
    return frame;
}

void showLoadingImage() {
    beginScreenOverlay();
    loadingScreen.picture = loadMipmappedJpegTexture("load.jpg");
    loadingScreen.glow = loadMipmappedJpegTexture("loadg.jpg");
    glBindTexture(GL_TEXTURE_2D, loadingScreen.picture);
    glDisable(GL_BLEND);
    glColor3f(1, 1, 1);
    drawCentredQuad(128, 148);
    endScreenOverlay();
    glEnable(GL_BLEND);
}

// Glow and picture add to the black background and to each other (the additive blend
// function of the GL set-up), so both dim to nothing as p nears 1.
void drawLoadingFrame(float dt) {
    loadingScreen.loadingTime += dt;
    LoadingFrame frame = loadingFrameAt(loadingScreen.loadingTime / kAnimationSeconds);

    beginScreenOverlay();
    glBindTexture(GL_TEXTURE_2D, loadingScreen.glow);
    glColor4f(1, 1, 1, frame.glowAlpha);
    drawCentredQuad(frame.glowHalfWidth, frame.glowHalfHeight);
    glBindTexture(GL_TEXTURE_2D, loadingScreen.picture);
    float level = frame.pictureLevel;
    glColor4f(level, level, level, level);
    drawCentredQuad(frame.pictureHalfWidth, frame.pictureHalfHeight);
    endScreenOverlay();

    drawWhiteVeil(frame.veilAlpha);
}
