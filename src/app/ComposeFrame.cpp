#include "app/ComposeFrame.h"

#include <GL/gl.h>

#include "app/FrameTimer.h"
#include "app/GraphicsSetup.h"
#include "app/SaverState.h"
#include "script/Settings.h"

namespace {

// The frame-rate window: once a second the count becomes the shown rate and the mouse
// travel starts over.
void advanceRateWindow() {
    if (rateTimer.elapsedSeconds() > 1.0) {
        saverState.shownFps = saverState.frameCount;
        saverState.frameCount = 0;
        saverState.mouseTravel = 0;
        rateTimer.start();
    }
}

// Black bands above and below the letterbox, drawn in 800 x 600 overlay space over the
// whole window, then back to the letterbox view.
void drawLetterboxBars() {
    glDisable(GL_BLEND);
    glViewport(0, 0, static_cast<GLsizei>(settings.width), static_cast<GLsizei>(settings.height));
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 800, 0, 600, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glLoadIdentity();
    glColor4f(0, 0, 0, 1);
    glBegin(GL_QUADS);
    glVertex2f(0, 0);
    glVertex2f(800, 0);
    glVertex2f(800, 75);
    glVertex2f(0, 75);
    glVertex2f(0, 525);
    glVertex2f(800, 525);
    glVertex2f(800, 600);
    glVertex2f(0, 600);
    glEnd();
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    LetterboxRect view = letterbox(settings.width, settings.height);
    glViewport(view.x, view.y, view.width, view.height);
}

}  // namespace

void composeFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    advanceRateWindow();
    glFlush();
    drawLetterboxBars();
    glEnable(GL_BLEND);
    saverState.frameCount += 1;
    glFlush();
}
