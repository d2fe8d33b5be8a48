// Drawing and animation of a Flame.
#include "world/Flame.h"

#include <GL/gl.h>

#include "script/Random.h"
#include "world/ObjectAnimation.h"
#include "world/QuadStrip.h"

void Flame::update(double) {}

void Flame::render(const Camera&) {
    // Without a parent there is no frame to hang the trail in.
    if (!parent || !parent->visible) return;
    glPushMatrix();
    glDepthMask(GL_FALSE);
    Vec3 l = parent->look, r = parent->right, third = cross(l, r);
    glTranslatef(parent->position.x, parent->position.y, parent->position.z);
    const float frame[16] = {l.x, l.y, l.z, 0, r.x, r.y, r.z, 0, third.x, third.y, third.z, 0, 0, 0, 0, 1};
    glMultMatrixf(frame);

    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    const Vec3 a = make(m[0], m[4], m[8]);  // the viewer's right in this frame
    const Vec3 b = make(m[1], m[5], m[9]);  // and up
    glDisable(GL_LIGHTING);
    if (hasTexture) glBindTexture(GL_TEXTURE_2D, texture);
    glTranslatef(anchor.z, anchor.x, anchor.y);

    for (int i = 0; i < kFlameQuads; ++i) {
        Vec3 c = flameQuadColour(colorFrom, colorTo, i);
        glColor4f(c.x, c.y, c.z, 0.5f - 0.3f * randomFraction());
        float h = flameQuadHalfSize(size, i);
        drawQuadStrip(a, b, h);
        glTranslatef(-offset, 0, 0);
    }
    glColor4f(1, 1, 1, 1);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glDepthMask(GL_TRUE);
    glPopMatrix();
}
