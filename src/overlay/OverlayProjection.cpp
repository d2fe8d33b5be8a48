#include "overlay/OverlayProjection.h"

#include <GL/gl.h>

#include "script/Settings.h"

namespace {

void leaveOverlay() {
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
}

}  // namespace

void setLetterboxViewport() {
    double h = settings.height;
    glViewport(0, static_cast<GLint>(h * 0.125), static_cast<GLsizei>(settings.width),
               static_cast<GLsizei>(h * 0.75));
}

void beginScreenOverlay() {
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 800, 0, 600, -1, 1);
    glViewport(0, 0, static_cast<GLsizei>(settings.width), static_cast<GLsizei>(settings.height));
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void endScreenOverlay() {
    leaveOverlay();
    setLetterboxViewport();
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
}

void beginViewOverlay() {
    double h = settings.height;
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, settings.width, h * 0.125, h * 0.875, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void endViewOverlay() {
    leaveOverlay();
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
}
