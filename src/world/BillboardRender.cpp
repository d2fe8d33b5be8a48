// Drawing and animation of a Billboard.
#include "world/Billboard.h"

#include <GL/gl.h>

#include "script/Camera.h"
#include "script/Random.h"
#include "world/ObjectAnimation.h"

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
        Vec3 r = parent->right, l = parent->look;
        Vec3 u = cross(r, l);
        position = parent->position + r * offset.x + u * offset.y + l * offset.z;
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
        Vec3 c0 = (-w - up) * size, c1 = (w - up) * size, c2 = (-w + up) * size, c3 = (w + up) * size;
        glBegin(GL_TRIANGLE_STRIP);
        glTexCoord2f(0, 0); glVertex3f(c0.x, c0.y, c0.z);
        glTexCoord2f(1, 0); glVertex3f(c1.x, c1.y, c1.z);
        glTexCoord2f(0, 1); glVertex3f(c2.x, c2.y, c2.z);
        glTexCoord2f(1, 1); glVertex3f(c3.x, c3.y, c3.z);
        glEnd();
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
