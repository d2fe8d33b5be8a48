// The GL state the saver run sets up before anything is drawn (lights, blending, the
// letterbox viewport and the 16:9 frustum), for drawing tests that run without the app.
// Header-only: only the binaries that include it need the world library.
#pragma once

#include <GL/gl.h>

#include "support/OffscreenGL.h"
#include "world/GlExtensions.h"

inline void fetchMultitexture(const OffscreenGL& gl) {
    glActiveTextureARBPtr = reinterpret_cast<ActiveTextureFn>(gl.procAddress("glActiveTextureARB"));
    glClientActiveTextureARBPtr = reinterpret_cast<ActiveTextureFn>(gl.procAddress("glClientActiveTextureARB"));
    glMultiTexCoord2fARBPtr = reinterpret_cast<MultiTexCoord2fFn>(gl.procAddress("glMultiTexCoord2fARB"));
}

inline void applyShowGLState(int width, int height) {
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT1);
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_NORMALIZE);
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHT2);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glViewport(0, static_cast<int>(height * 0.125), width, static_cast<int>(height * 0.75));
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-1.6, 1.6, -0.9, 0.9, 2, 100000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
    const float ambient[4] = {0.1f, 0.1f, 0.1f, 0.1f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    const float white[4] = {1, 1, 1, 1}, black[4] = {0, 0, 0, 1};
    const float lightPosition[4] = {0, 0, 9100, 1};
    glLightfv(GL_LIGHT1, GL_POSITION, lightPosition);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT1, GL_SPECULAR, black);
    glLineWidth(1);
}

// Depth of one window pixel.
inline float depthAtPixel(int x, int y) {
    float depth = -1;
    glReadPixels(x, y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    return depth;
}
