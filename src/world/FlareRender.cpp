// Drawing and animation of a Flare.
#include "world/Flare.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "script/Camera.h"
#include "script/Settings.h"
#include "world/ObjectAnimation.h"

namespace {

// Pixel space over the letterbox view: x 0..W, y counts window rows (H/8 .. 7H/8).
// The same projection the overlay uses; kept here so the world library does not
// depend on the overlay library.
void enterViewPixels(float w, float h) {
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, w, h * 0.125, h * 0.875, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void leaveViewPixels() {
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
}

void pushBoth() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
}

void popBoth() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void drawQuad(float x0, float y0, float x1, float y1) {
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0); glVertex2f(x0, y0);
    glTexCoord2f(0, 1); glVertex2f(x0, y1);
    glTexCoord2f(1, 1); glVertex2f(x1, y1);
    glTexCoord2f(1, 0); glVertex2f(x1, y0);
    glEnd();
}

// The depth stored at a window pixel, or -1 when the point lies outside the window
// (or is not a finite point), which no reference depth can pass.
float depthAt(double wx, double wy, int windowWidth, int windowHeight) {
    if (!(wx >= 0 && wx < windowWidth && wy >= 0 && wy < windowHeight)) return -1;
    float depth = -1;
    glReadPixels(static_cast<int>(wx), static_cast<int>(wy), 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    return depth;
}

}  // namespace

void Flare::update(double dt) {
    alpha = fadeFlareAlpha(alpha, seen, dt, fadeIn, fadeOut);
    angle = wrapDegreesOnce(static_cast<float>(angle + dt * spin));
    flashClock = static_cast<float>(flashClock + 6 * dt);
    if (flashClock > flashEnd) {
        FlickerCycle cycle = nextFlickerCycle(flash);
        flashOn = cycle.on;
        flashEnd = cycle.end;
        flashClock = 0;
    }
}

void Flare::render(const Camera& camera) {
    if (parent && !parent->visible) return;
    const int windowWidth = static_cast<int>(settings.width);
    const int windowHeight = static_cast<int>(settings.height);
    pushBoth();
    if (hasTexture) glBindTexture(GL_TEXTURE_2D, texture);
    if (isEnv) {
        position = camera.eye + offset;
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glFrustum(-1.6 * fov, 1.6 * fov, -0.9 * fov, 0.9 * fov, 1, 1000);
        glMatrixMode(GL_MODELVIEW);
    }
    if (parent) {
        position = attachedPosition(*parent, offset);
    }

    double modelview[16], projection[16], wx = 0, wy = 0, wz = 0;
    int viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    if (gluProject(position.x, position.y, position.z, modelview, projection, viewport, &wx, &wy, &wz) == GL_FALSE) {
        popBoth();
        return;
    }

    double reference = isEnv ? 1.0 : wz;
    Vec3 towards = isEnv ? offset : position - camera.position;
    if (dot(normalize(towards), camera.direction) < 0) reference = 1000;  // behind the viewer
    float depth = depthAt(wx, wy, windowWidth, windowHeight);
    seen = depth >= reference && insideLetterboxRows(static_cast<float>(wy), static_cast<float>(windowHeight));
    if (hasFlash && flashClock < flashOn) seen = false;
    if (alpha <= 0) {
        popBoth();
        return;
    }

    const float fx = static_cast<float>(wx), fy = static_cast<float>(wy);
    enterViewPixels(static_cast<float>(windowWidth), static_cast<float>(windowHeight));
    glDisable(GL_LIGHTING);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    float q = hasFocus ? focusFactor(offset, camera.direction, focus) : 1.0f;
    glColor4f(1, 1, 1, q * alpha);
    glTranslatef(fx, fy, 0);
    glRotatef(angle, 0, 0, 1);
    if (hasOrient) glRotatef(orientRotation(orient, fx, fy, float(windowWidth), float(windowHeight)), 0, 0, 1);
    drawQuad(-size * xy, -size, size * xy, size);
    leaveViewPixels();

    if (hasLens) {
        enterViewPixels(static_cast<float>(windowWidth), static_cast<float>(windowHeight));
        const Vec3 flarePoint = make(fx, fy, 0);
        const Vec3 centre = make(windowWidth / 2.0f, windowHeight / 2.0f, 0);
        for (int k = 0; k < kLensGhostCount; ++k) {
            const LensGhost& e = lensGhosts[k];
            Vec3 p = flarePoint + (centre - flarePoint) * e.position;
            glDisable(GL_LIGHTING);
            glBindTexture(GL_TEXTURE_2D, lensTextures[e.texture]);
            glColor4f(0.5f, 0.5f, k / 10.0f, 0.2f);
            float h = lensSize * e.size;
            drawQuad(p.x - h, p.y - h, p.x + h, p.y + h);
        }
        leaveViewPixels();
    }
    glEnable(GL_LIGHTING);
    popBoth();
}
