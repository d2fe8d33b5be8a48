// Drawing and animation of a Sphere.
#include "world/Sphere.h"

#include <GL/gl.h>

#include "script/Camera.h"
#include "world/LevelZeroSampling.h"
#include "world/MeshFile.h"

namespace {

// A sky dome gets its own near and far planes so its radius never clips.
void pushEnvironmentFrustum(float fov) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glFrustum(-1.6 * fov, 1.6 * fov, -0.9 * fov, 0.9 * fov, 1, 1000);
    glMatrixMode(GL_MODELVIEW);
}

void popProjection() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

}  // namespace

void Sphere::update(double) {
    // A per-frame step: the spin runs with the frame rate, as the show was tuned.
    spinAngle += spinSpeed;
    if (spinAngle > 360) spinAngle -= 360;
}

void Sphere::render(const Camera& camera) {
    glPushMatrix();
    if (isEnv) {
        position = camera.eye;
        glDisable(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);  // neither hides nor is hidden; writes no depth
        pushEnvironmentFrustum(fov);
    }
    if (unlit) glDisable(GL_LIGHTING);

    glTranslatef(position.x, position.y, position.z);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glScalef(tiling, tiling, 1);
    glMatrixMode(GL_MODELVIEW);
    glRotatef(orientAngle, orientAxis.x, orientAxis.y, orientAxis.z);
    glRotatef(spinAngle, spinAxis.x, spinAxis.y, spinAxis.z);
    if (hasTexture) glBindTexture(GL_TEXTURE_2D, texture);

    if (alpha >= 1) {
        glDisable(GL_BLEND);
        glEnable(GL_COLOR_MATERIAL);
        if (!isEnv) glEnable(GL_CULL_FACE);
        glColor4f(1, 1, 1, 1);
    } else {
        glColor4f(1, 1, 1, alpha);
        if (!unlit) glBlendFunc(GL_SRC_COLOR, GL_ONE);
        if (!isEnv) glEnable(GL_CULL_FACE);
    }
    glScalef(radius, radius, radius);
    const std::vector<SkyPart>* parts = isEnv && hasTexture ? skyPartsOf(displayList) : nullptr;
    if (parts) {
        // Seen from inside, a sky is magnified almost everywhere but near its poles: each
        // part of it samples level 0 alone when the view magnifies all that it can show
        // of it. The faces never overlap as seen from the centre, so the order is free.
        for (const SkyPart& part : *parts) {
            LevelZeroSampling sampling(skyMagnified(texture, part.faces, fov, tiling));
            glCallList(part.list);
        }
    } else if (displayList != 0) {
        glCallList(displayList);
    }

    glDisable(GL_COLOR_MATERIAL);
    glEnable(GL_BLEND);
    if (isEnv) {
        position = camera.position;
        popProjection();
        glEnable(GL_DEPTH_TEST);
    }
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_LIGHTING);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDisable(GL_CULL_FACE);
    glPopMatrix();
}
