// Drawing and animation of a Billboard.
#include "world/Billboard.h"

#include <GL/gl.h>

#include "script/Camera.h"
#include "script/Random.h"
#include "world/LitQuad.h"
#include "world/ObjectAnimation.h"
#include "world/QuadStrip.h"

void Billboard::update(double dt) {
    angle = wrapDegreesOnce(static_cast<float>(angle + spin * dt));
    flashClock = advanceFlashClock(flashClock, dt, darkTime, litTime);
}

void Billboard::render(const Camera& camera) {
    if (parent && !parent->visible) return;
    glPushMatrix();
    if (isEnv) {
        position = camera.eye + offset;
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glFrustum(-1.6 * fov, 1.6 * fov, -0.9 * fov, 0.9 * fov, 1, 1000);
        glMatrixMode(GL_MODELVIEW);
    }
    if (parent) {
        position = attachedPosition(*parent, offset);
    }
    glTranslatef(position.x, position.y, position.z);
    if (!fixedOrientation) {
        // The view's right and up axes, so the quad faces the viewer.
        float m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        right = make(m[0], m[4], m[8]);
        up = make(m[1], m[5], m[9]);
    }
    Vec3 w = right * xy;
    Vec3 n = cross(right, up);
    glRotatef(angle, n.x, n.y, n.z);

    if (hasTexture) glBindTexture(GL_TEXTURE_2D, texture);
    glDisable(GL_LIGHTING);
    glDepthMask(GL_FALSE);
    if (parent) {
        // Lights on a ship flicker a little every frame.
        glColor4f(color.x, color.y, color.z, alpha + 0.3f * randomFraction());
    } else {
        glColor4f(1, 1, 1, alpha);
    }
    if (!flashIsDark(hasFlash, flashClock, darkTime)) {
        if (hasTexture)
            drawLitQuad(texture, w, up, size);
        else
            drawQuadStrip(w, up, size);
    }
    glDepthMask(GL_TRUE);
    glEnable(GL_LIGHTING);
    if (isEnv) {
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
    }
    glPopMatrix();
}
