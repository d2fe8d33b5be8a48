#include "app/ComposeFrame.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>

#include "app/FrameTimer.h"
#include "app/SaverState.h"
#include "overlay/ClockAndFps.h"
#include "overlay/Fades.h"
#include "overlay/OverlayProjection.h"
#include "script/Camera.h"
#include "script/Settings.h"
#include "world/ParticleSystem.h"

DrawLists drawLists;

namespace {

void refill(std::vector<WorldObject*>& target, const ObjectList* source) {
    target.clear();
    if (!source) return;
    for (const auto& object : *source) target.push_back(object.get());
}

void refillDrawLists(const World& world) {
    refill(drawLists.firstPass, world.firstPass);
    refill(drawLists.worldObjects, &world.objects);
    refill(drawLists.postPass, world.postPass);
}

void applyView(const Camera& viewer) {
    glLoadIdentity();
    Vec3 centre = viewer.eye + viewer.direction;
    gluLookAt(viewer.eye.x, viewer.eye.y, viewer.eye.z, centre.x, centre.y, centre.z, viewer.up.x, viewer.up.y,
              viewer.up.z);
    // Set after the view, so light 1 stays fixed in the world far along +z.
    static const float lightPosition[4] = {0, 0, 99900, 1};
    glLightfv(GL_LIGHT1, GL_POSITION, lightPosition);
}

// Debug builds name the first object after which the GL reports an error.
void checkGlError(const WorldObject& object) {
#ifndef NDEBUG
    static bool reported = false;
    GLenum error = glGetError();
    if (error != GL_NO_ERROR && !reported) {
        reported = true;
        std::fprintf(stderr, "GL error 0x%x after drawing object \"%s\"\n", error, object.name);
    }
#else
    (void)object;
#endif
}

void renderAll(const std::vector<WorldObject*>& list, const Camera& viewer) {
    for (WorldObject* object : list) {
        object->render(viewer);
        checkGlError(*object);
    }
}

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

// Black bands above and below the letterbox, after the fades so no fade covers them.
void drawLetterboxBars() {
    glDisable(GL_BLEND);
    beginScreenOverlay();
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
    endScreenOverlay();
}

}  // namespace

void composeFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!activeWorld) return;
    refillDrawLists(*activeWorld);
    applyView(camera);

    renderAll(drawLists.firstPass, camera);
    renderAll(drawLists.worldObjects, camera);
    for (const auto& object : dynamicObjects) {
        object->render(camera);
        checkGlError(*object);
    }
    renderAll(drawLists.postPass, camera);
    if (particleFieldOn) particleField.render(camera);

    advanceRateWindow();
    drawFades(camera);
    glFlush();
    drawLetterboxBars();
    if (settings.showClock) drawClock();
    if (settings.showFps) drawFps(saverState.shownFps);
    glEnable(GL_BLEND);
    saverState.frameCount += 1;
    glFlush();
}

void updateDrawLists(double dt) {
    for (WorldObject* object : drawLists.firstPass) object->update(dt);
    for (WorldObject* object : drawLists.worldObjects) object->update(dt);
    for (const auto& object : dynamicObjects) object->update(dt);
    for (WorldObject* object : drawLists.postPass) object->update(dt);
}

void releaseDrawLists() {
    drawLists.firstPass.clear();
    drawLists.worldObjects.clear();
    drawLists.postPass.clear();
}
