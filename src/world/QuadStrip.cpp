#include "world/QuadStrip.h"

#include <GL/gl.h>

void drawQuadStrip(Vec3 a, Vec3 b, float scale) {
    Vec3 c0 = (-a - b) * scale, c1 = (a - b) * scale, c2 = (-a + b) * scale, c3 = (a + b) * scale;
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(0, 0); glVertex3f(c0.x, c0.y, c0.z);
    glTexCoord2f(1, 0); glVertex3f(c1.x, c1.y, c1.z);
    glTexCoord2f(0, 1); glVertex3f(c2.x, c2.y, c2.z);
    glTexCoord2f(1, 1); glVertex3f(c3.x, c3.y, c3.z);
    glEnd();
}
