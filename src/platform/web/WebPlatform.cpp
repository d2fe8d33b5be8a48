// The platform interface in a web page (Emscripten): a WebGL 2 context on the page's
// canvas under the GLES layer, the browser's clock, and a swap that hands the frame to the
// browser and waits for its next animation frame. The page owns the input (the show runs
// as in a screensaver daemon's window, "--window-id 1"), full screen and the music.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>

#include "gles/GlesLayer.h"
#include "platform/Platform.h"

// Resumes the program (through Asyncify) at the browser's next animation frame, after
// the frame just drawn has been shown. A page that gets no animation frames (a hidden
// tab, a headless browser on virtual time) still goes on, ten frames a second.
EM_JS(void, waitForAnimationFrame, (), {
    if (Module.onFrame) Module.onFrame();
    Asyncify.handleSleep(function(wakeUp) {
        var woken = false;
        var wake = function() {
            if (woken) return;
            woken = true;
            wakeUp();
        };
        requestAnimationFrame(wake);
        setTimeout(wake, 100);
    });
});

namespace platform {

namespace {

constexpr const char* kCanvas = "#canvas";
EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;

bool makeContext() {
    if (context) return false;
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    attributes.alpha = false;
    attributes.depth = false;  // the layer draws into its own framebuffer
    attributes.stencil = false;
    attributes.antialias = false;
    context = emscripten_webgl_create_context(kCanvas, &attributes);
    if (context <= 0) {
        context = 0;
        std::fprintf(stderr, "voidrift: this browser offers no WebGL 2\n");
        return false;
    }
    emscripten_webgl_make_context_current(context);
    int width = 0, height = 0;
    clientSize(width, height);
    gles::attachContext(width, height);
    return true;
}

}  // namespace

bool initialize(bool) { return true; }
void shutdown() { closeWindow(); }
bool isOffscreen() { return false; }
bool displayAvailable() { return true; }

bool openWindow(const WindowRequest&) { return makeContext(); }
bool openForeignWindow(std::uint64_t) { return makeContext(); }
bool foreignWindowGone() { return false; }
void showWindow() {}

void closeWindow() {
    if (!context) return;
    gles::detachContext();
    emscripten_webgl_destroy_context(context);
    context = 0;
}

void* nativeWindow() { return nullptr; }

void clientSize(int& width, int& height) {
    width = height = 0;
    emscripten_get_canvas_element_size(kCanvas, &width, &height);
}

void swapBuffers() {
    if (!context) return;
    int width = 0, height = 0;
    clientSize(width, height);
    gles::presentFrame(width, height);
    waitForAnimationFrame();
}

void* procAddress(const char* name) { return gles::procAddress(name); }
bool setSwapInterval(int) { return true; }  // the browser paces the frames

bool pollEvent(Event&) { return false; }
void warpCursor(int, int) {}
void discardPointerMotion() {}
void showCursor(bool) {}

bool desktopMode(DisplayMode& mode) {
    clientSize(mode.width, mode.height);
    mode.bitsPerPixel = 32;
    return mode.width > 0 && mode.height > 0;
}

std::vector<DisplayMode> displayModes() {
    DisplayMode mode;
    if (!desktopMode(mode)) return {};
    return {mode};
}

bool changeDisplayMode(const DisplayMode&) { return false; }
void restoreDisplayMode() {}
bool getGammaRamp(std::uint16_t*, std::uint16_t*, std::uint16_t*) { return false; }
bool setGammaRamp(const std::uint16_t*, const std::uint16_t*, const std::uint16_t*) { return false; }
bool monitorAsleep() { return false; }

void messageBox(const char* text, const char* caption) { std::fprintf(stderr, "%s: %s\n", caption, text); }
// Messages go to the console, so there is never a box to close.
void endMessageBox() {}
// A page plays its own music; tabs have no shared place to agree on one player.
bool claimMusic() { return true; }

// The page's memory only grows; nothing to hand back.
void returnFreeMemory() {}

std::string programFolder() { return "/"; }

bool foreignWindowSize(std::uint64_t, int&, int&) { return false; }
PreviewEnd runPicturePreview(std::uint64_t, const std::uint8_t*, int, int, int) { return PreviewEnd::failed; }

const char* rendererName() { return "gles"; }
void execSibling(const char*, const std::vector<std::string>&) {}

// Microseconds of the page's high-resolution clock.
std::int64_t readCounter() { return static_cast<std::int64_t>(emscripten_get_now() * 1000.0); }
std::int64_t counterFrequency() { return 1000000; }

}  // namespace platform
