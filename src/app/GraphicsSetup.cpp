#include "app/GraphicsSetup.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "archive/Messages.h"
#include "image/DeferredTextures.h"
#include "image/TextureLoader.h"
#include "platform/Platform.h"
#include "script/Settings.h"
#include "world/GlExtensions.h"

namespace {

struct SavedRamp {
    bool saved = false;
    std::uint16_t red[256];
    std::uint16_t green[256];
    std::uint16_t blue[256];
};

SavedRamp originalRamp;
bool rampChanged = false;

void enableCapabilities() {
    // No alpha function is ever set, so an alpha test would pass every fragment; left on,
    // it only keeps a software renderer from testing depth before texturing.
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHT1);
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_NORMALIZE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);  // additive
}

void setUpView() {
    applyLetterboxViewport();
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    FrustumPlanes planes = viewFrustum(settings.depth);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(planes.left, planes.right, planes.bottom, planes.top, planes.nearPlane, planes.farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void setUpLights() {
    glDisable(GL_LIGHT0);
    const GLfloat ambient[] = {0.1f, 0.1f, 0.1f, 0.1f};
    glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    const GLfloat light1Position[] = {0, 0, 9100, 1};
    const GLfloat white[] = {1, 1, 1, 1};
    const GLfloat black[] = {0, 0, 0, 1};
    glLightfv(GL_LIGHT1, GL_POSITION, light1Position);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT1, GL_SPECULAR, black);
    const GLfloat light0Diffuse[] = {0.3f, 0.3f, 0.3f, 1};
    glLightfv(GL_LIGHT0, GL_DIFFUSE, light0Diffuse);
    glLightf(GL_LIGHT0, GL_SPOT_EXPONENT, 3);
    glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, 60);
    glLightf(GL_LIGHT2, GL_LINEAR_ATTENUATION, 0.006f);
}

bool fetchExtensions() {
    glActiveTextureARBPtr = reinterpret_cast<ActiveTextureFn>(platform::procAddress("glActiveTextureARB"));
    glClientActiveTextureARBPtr =
        reinterpret_cast<ActiveTextureFn>(platform::procAddress("glClientActiveTextureARB"));
    glMultiTexCoord2fARBPtr = reinterpret_cast<MultiTexCoord2fFn>(platform::procAddress("glMultiTexCoord2fARB"));
    if (!glActiveTextureARBPtr || !glMultiTexCoord2fARBPtr) {
        showMessage("Your videocard is unsupported multisample texture!", "Error");
        return false;
    }
    return true;
}

}  // namespace

LetterboxRect letterbox(std::uint32_t width, std::uint32_t height) {
    LetterboxRect rect;
    rect.x = 0;
    rect.y = static_cast<int>(std::trunc(height * 0.125));
    rect.width = static_cast<int>(width);
    rect.height = static_cast<int>(std::trunc(height * 0.75));
    return rect;
}

float depthScale(int depthBits) { return depthBits == 32 ? 1.0f : 4.0f; }

FrustumPlanes viewFrustum(int depthBits) {
    double s = depthScale(depthBits);
    return FrustumPlanes{-1.6 * s, 1.6 * s, -0.9 * s, 0.9 * s, 2 * s, 100000};
}

float gammaExponent(int gamma) {
    // Only a hand-edited setting leaves 0..100; beyond it the table no longer fits 16 bits.
    int held = std::clamp(gamma, 0, 100);
    return 1.0f - (static_cast<float>(held - 50) / 50.0f) * 0.5f;
}

void gammaTable(double exponent, std::uint16_t table[256]) {
    for (int i = 0; i < 256; ++i) {
        double value = std::trunc(std::pow(i / 256.0, exponent) * 65536.0);
        table[i] = static_cast<std::uint16_t>(std::clamp(value, 0.0, 65535.0));
    }
}

void applyLetterboxViewport() {
    LetterboxRect view = letterbox(settings.width, settings.height);
    glViewport(view.x, view.y, view.width, view.height);
}

void setDisplayMode() {
    platform::DisplayMode wanted{static_cast<int>(settings.width), static_cast<int>(settings.height), settings.depth};
    platform::DisplayMode screen;
    // The window covers the screen in its own mode then: the show is drawn at that size.
    if (!platform::changeDisplayMode(wanted) && platform::desktopMode(screen)) {
        std::fprintf(stderr, "voidrift: the display cannot switch to %d x %d; the show fills the screen at %d x %d\n",
                     wanted.width, wanted.height, screen.width, screen.height);
        settings.width = static_cast<std::uint32_t>(screen.width);
        settings.height = static_cast<std::uint32_t>(screen.height);
    }
    platform::showCursor(false);
}

bool initGraphics() {
    // A context of its own: no texture name of another one counts.
    forgetTextureFacts();
    forgetDeferredTextures();
    enableCapabilities();
    setUpView();
    setUpLights();
    if (!fetchExtensions()) return false;
    platform::setSwapInterval(settings.vsync ? 1 : 0);
    glLineWidth(1);
    glDisable(GL_LIGHT2);
    if (!settings.defGamma) {
        float e = gammaExponent(settings.gamma);
        setGammaRamp(e, e, e);
    }
    return true;
}

bool setGammaRamp(float red, float green, float blue) {
    if (!originalRamp.saved) {
        originalRamp.saved = platform::getGammaRamp(originalRamp.red, originalRamp.green, originalRamp.blue);
    }
    std::uint16_t tables[3][256];
    gammaTable(red, tables[0]);
    gammaTable(green, tables[1]);
    gammaTable(blue, tables[2]);
    bool accepted = platform::setGammaRamp(tables[0], tables[1], tables[2]);
    rampChanged = rampChanged || accepted;
    return accepted;
}

void restoreGammaRamp() {
    if (!rampChanged) return;
    // A calibrated display gets its own ramp back, not a linear one.
    if (originalRamp.saved) {
        platform::setGammaRamp(originalRamp.red, originalRamp.green, originalRamp.blue);
    } else {
        setGammaRamp(1, 1, 1);
    }
    rampChanged = false;
}
