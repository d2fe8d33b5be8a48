// The platform interface over SDL2. With the "offscreen" video driver (EGL on Mesa's
// software renderer) the same code runs with no display at all.
#include <GL/gl.h>
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <chrono>
#include <unistd.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "platform/Platform.h"
#include "platform/sdl/BoxProcess.h"
#include "platform/sdl/SdlContext.h"
#include "platform/sdl/SdlKeys.h"
#include "platform/sdl/WaylandKeyboardGuard.h"
#include "platform/sdl/X11Dpms.h"
#include "platform/sdl/X11ForeignWindow.h"

namespace platform {

namespace {

SDL_Window* window = nullptr;
SDL_GLContext context = nullptr;
bool modeChanged = false;
bool videoStarted = false;
int displayIndex();
bool foreign = false;  // the window belongs to another program: draw into it, nothing more
// Wayland lets no client move the pointer. There a warp moves a pointer of our own, which
// motion then moves by its relative steps, so travel is measured from the same centre as
// where the real pointer is warped.
bool virtualPointer = false;
int virtualX = 0;
int virtualY = 0;
// While the show is full screen on the primary monitor, every other monitor is covered
// by a plain black window: nothing is stretched across monitors, no desktop shows.
std::vector<SDL_Window*> blackCovers;

void coverOtherMonitors() {
    int count = SDL_GetNumVideoDisplays();
    for (int index = 0; index < count; ++index) {
        if (index == displayIndex()) continue;
        SDL_Rect bounds;
        if (SDL_GetDisplayBounds(index, &bounds) != 0) continue;
        SDL_Window* cover = SDL_CreateWindow("", bounds.x, bounds.y, bounds.w, bounds.h,
                                             SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_SKIP_TASKBAR);
        if (!cover) continue;
        SDL_SetWindowFullscreen(cover, SDL_WINDOW_FULLSCREEN_DESKTOP);
        SDL_Surface* surface = SDL_GetWindowSurface(cover);
        if (surface) {
            SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
            SDL_UpdateWindowSurface(cover);
        }
        blackCovers.push_back(cover);
    }
}

void uncoverOtherMonitors() {
    for (SDL_Window* cover : blackCovers) SDL_DestroyWindow(cover);
    blackCovers.clear();
}

// Pointer motion over a black cover is no movement in the show's window.
bool overBlackCover(Uint32 windowId) {
    for (SDL_Window* cover : blackCovers) {
        if (windowId == SDL_GetWindowID(cover)) return true;
    }
    return false;
}

void requestPixelFormat(bool full) {
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    requestContextApi();
    if (full) {
        SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
        SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    } else {
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    }
}

// Windows reports a 32-bit desktop where SDL says 24 bits in 4 bytes.
int bitsOf(Uint32 format) {
    if (SDL_BYTESPERPIXEL(format) == 4) return 32;
    return static_cast<int>(SDL_BITSPERPIXEL(format));
}

Uint32 formatFor(int bitsPerPixel) {
    if (bitsPerPixel == 16) return SDL_PIXELFORMAT_RGB565;
    if (bitsPerPixel == 24) return SDL_PIXELFORMAT_RGB24;
    return SDL_PIXELFORMAT_RGB888;
}

bool onWayland() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && std::strcmp(driver, "wayland") == 0;
}

int displayIndex() {
    int index = window ? SDL_GetWindowDisplayIndex(window) : 0;
    return index < 0 ? 0 : index;
}

bool translate(const SDL_Event& in, Event& out) {
    out = Event{};
    switch (in.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            out.type = in.type == SDL_KEYDOWN ? EventType::KeyDown : EventType::KeyUp;
            out.key = virtualKeyFromSdl(in.key.keysym.sym);
            out.systemKey = isSystemKey(out.key, (in.key.keysym.mod & KMOD_ALT) != 0);
            return true;
        case SDL_MOUSEMOTION:
            if (overBlackCover(in.motion.windowID)) return true;
            out.type = EventType::MouseMove;
            out.x = in.motion.x;
            out.y = in.motion.y;
            if (virtualPointer) {
                virtualX += in.motion.xrel;
                virtualY += in.motion.yrel;
                out.x = virtualX;
                out.y = virtualY;
            }
            return true;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
        case SDL_MOUSEWHEEL:
            out.type = EventType::MouseButton;
            return true;
        case SDL_QUIT:
            out.type = EventType::Quit;
            return true;
        case SDL_WINDOWEVENT:
            if (in.window.event == SDL_WINDOWEVENT_CLOSE) out.type = EventType::Quit;
            return true;
        default:
            return true;
    }
}

}  // namespace

bool initialize(bool offscreen) {
    if (videoStarted) return true;
    if (offscreen) setenv("SDL_VIDEODRIVER", "offscreen", 1);
    // The run installs its own SIGINT/SIGTERM handling so it can restore the display.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // A screensaver must not drop its mode or minimise when another window pops up briefly.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    // The monitor may still power down while the show runs (the run then stops drawing).
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "voidrift: no video: %s\n", SDL_GetError());
        return false;
    }
    videoStarted = true;
    if (onWayland()) guardWaylandKeyboard();
    return true;
}

void shutdown() {
    closeWindow();
    x11::closeDpms();
    if (videoStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    videoStarted = false;
}

bool isOffscreen() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

bool displayAvailable() {
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (wayland && *wayland);
}

bool openWindow(const WindowRequest& request) {
    if (window) return false;
    for (int attempt = 0; attempt < 2 && !context; ++attempt) {
        requestPixelFormat(attempt == 0);
        Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | (request.topmost ? SDL_WINDOW_ALWAYS_ON_TOP : 0);
        // On the primary monitor (SDL's first display), wherever it sits in the desktop.
        SDL_Rect primary{0, 0, 0, 0};
        SDL_GetDisplayBounds(0, &primary);
        window = SDL_CreateWindow(request.title, primary.x, primary.y, request.width, request.height, flags);
        if (!window) continue;
        context = SDL_GL_CreateContext(window);
        if (!context) {
            SDL_DestroyWindow(window);
            window = nullptr;
        }
    }
    if (!context) {
        std::fprintf(stderr, "voidrift: no OpenGL window: %s\n", SDL_GetError());
        return false;
    }
    SDL_GL_MakeCurrent(window, context);
    contextMade(window);
    return true;
}

bool openForeignWindow(std::uint64_t handle) {
    if (window) return false;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "x11") != 0) {
        std::fprintf(stderr, "voidrift: drawing into another program's window needs an X11 display\n");
        return false;
    }
    if (!x11::watchForeignWindow(handle)) return false;
    // The context takes the window's own visual; the owner chose one fit for GL.
    SDL_SetHint(SDL_HINT_VIDEO_FOREIGN_WINDOW_OPENGL, "1");
    requestPixelFormat(true);
    auto xid = static_cast<std::uintptr_t>(x11::watchedWindow());
    window = SDL_CreateWindowFrom(reinterpret_cast<const void*>(xid));
    if (window) context = SDL_GL_CreateContext(window);
    if (!context) {
        std::fprintf(stderr, "voidrift: no OpenGL in window 0x%lx: %s\n", static_cast<unsigned long>(xid),
                     SDL_GetError());
        if (window) SDL_DestroyWindow(window);
        window = nullptr;
        x11::stopWatching();
        return false;
    }
    foreign = true;
    SDL_GL_MakeCurrent(window, context);
    contextMade(window);
    return true;
}

bool foreignWindowGone() {
    if (!foreign) return false;
    x11::pollForeignWindow();
    return x11::foreignWindowDestroyed();
}

void showWindow() {
    if (window && !foreign && !isOffscreen()) {
        SDL_ShowWindow(window);
        SDL_RaiseWindow(window);
    }
}

void closeWindow() {
    restoreDisplayMode();
    if (context) {
        contextClosing();
        SDL_GL_MakeCurrent(window, nullptr);
        SDL_GL_DeleteContext(context);
        context = nullptr;
    }
    if (window) SDL_DestroyWindow(window);
    window = nullptr;
    virtualPointer = false;
    // After the window: errors about a destroyed foreign window are still ours to absorb.
    if (foreign) x11::stopWatching();
    foreign = false;
}

void* nativeWindow() { return window; }

void clientSize(int& width, int& height) {
    width = 0;
    height = 0;
    if (foreign) {
        // SDL hears nothing of a foreign window's resizes; the watcher does.
        x11::pollForeignWindow();
        x11::foreignWindowSize(width, height);
    } else if (window) {
        SDL_GetWindowSize(window, &width, &height);
    }
}

void swapBuffers() {
    if (!window) return;
    beforeSwap(window);
    SDL_GL_SwapWindow(window);
    // An offscreen surface has no display to pace its swaps, so the software renderer
    // would queue frame after frame; each one finishes here, within its own frame.
    if (isOffscreen()) glFinish();
}

void* procAddress(const char* name) { return contextProcAddress(name); }

const char* rendererName() { return contextRendererName(); }

void execSibling(const char* name, const std::vector<std::string>& arguments) {
    std::string path = programFolder() + name;
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(path.c_str(), argv.data());
}

bool setSwapInterval(int interval) { return SDL_GL_SetSwapInterval(interval) == 0; }

bool pollEvent(Event& event) {
    SDL_Event raw;
    if (!SDL_PollEvent(&raw)) return false;
    return translate(raw, event);
}

void warpCursor(int x, int y) {
    if (!window || foreign) return;
    // SDL would emulate the warp by locking the pointer; our own pointer is enough.
    if (onWayland()) {
        virtualPointer = true;
        virtualX = x;
        virtualY = y;
        return;
    }
    SDL_WarpMouseInWindow(window, x, y);
}

void discardPointerMotion() {
    SDL_PumpEvents();
    SDL_FlushEvent(SDL_MOUSEMOTION);
}

void showCursor(bool visible) {
    if (!foreign) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

bool desktopMode(DisplayMode& mode) {
    SDL_DisplayMode raw;
    if (SDL_GetDesktopDisplayMode(displayIndex(), &raw) != 0) return false;
    mode = DisplayMode{raw.w, raw.h, bitsOf(raw.format)};
    return true;
}

std::vector<DisplayMode> displayModes() {
    std::vector<DisplayMode> modes;
    int count = SDL_GetNumDisplayModes(displayIndex());
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode raw;
        if (SDL_GetDisplayMode(displayIndex(), i, &raw) == 0) modes.push_back({raw.w, raw.h, bitsOf(raw.format)});
    }
    return modes;
}

namespace {

// A window as large as its display, without the system's full screen (which asks a
// window manager that may not be there, and a mode the display just refused).
void coverDisplay() {
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(displayIndex(), &bounds) != 0) return;
    SDL_SetWindowFullscreen(window, 0);
    SDL_SetWindowBordered(window, SDL_FALSE);
    SDL_SetWindowPosition(window, bounds.x, bounds.y);
    SDL_SetWindowSize(window, bounds.w, bounds.h);
}

bool switchedTo(const DisplayMode& mode) {
    SDL_DisplayMode current;
    return SDL_GetCurrentDisplayMode(displayIndex(), &current) == 0 && current.w == mode.width &&
           current.h == mode.height;
}

}  // namespace

bool changeDisplayMode(const DisplayMode& mode) {
    if (!window || foreign) return false;
    DisplayMode desktop;
    Uint32 flag = SDL_WINDOW_FULLSCREEN;
    // Asking for the mode that is already set needs no switch at all.
    if (desktopMode(desktop) && desktop.width == mode.width && desktop.height == mode.height) {
        flag = SDL_WINDOW_FULLSCREEN_DESKTOP;
    } else {
        SDL_DisplayMode wanted{formatFor(mode.bitsPerPixel), mode.width, mode.height, 0, nullptr};
        SDL_DisplayMode closest;
        if (SDL_GetClosestDisplayMode(displayIndex(), &wanted, &closest)) SDL_SetWindowDisplayMode(window, &closest);
    }
    bool switched = SDL_SetWindowFullscreen(window, flag) == 0 && (flag == SDL_WINDOW_FULLSCREEN_DESKTOP || switchedTo(mode));
    // A display that cannot take the mode still shows no desktop around the show.
    if (!switched) coverDisplay();
    modeChanged = true;
    coverOtherMonitors();
    SDL_RaiseWindow(window);
    return switched;
}

void restoreDisplayMode() {
    uncoverOtherMonitors();
    if (window && modeChanged) SDL_SetWindowFullscreen(window, 0);
    modeChanged = false;
}

bool getGammaRamp(std::uint16_t* red, std::uint16_t* green, std::uint16_t* blue) {
    return window && SDL_GetWindowGammaRamp(window, red, green, blue) == 0;
}

bool setGammaRamp(const std::uint16_t* red, const std::uint16_t* green, const std::uint16_t* blue) {
    // Wayland offers clients no gamma ramp: the request is skipped without a word.
    return window && !foreign && !onWayland() && SDL_SetWindowGammaRamp(window, red, green, blue) == 0;
}

bool monitorAsleep() {
    static Uint64 lastAsked = 0;
    static bool asleep = false;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "x11") != 0) return false;
    Uint64 now = SDL_GetTicks64();
    if (lastAsked == 0 || now - lastAsked >= 500) {
        lastAsked = now;
        asleep = x11::monitorAsleep();
    }
    return asleep;
}

void messageBox(const char* text, const char* caption) {
    if (!isOffscreen()) {
        box::begin();
        bool shown = SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, window) == 0;
        box::end();
        if (shown) return;
    }
    std::fprintf(stderr, "%s: %s\n", caption, text);
}

void endMessageBox() { box::kill(); }

void returnFreeMemory() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

std::string programFolder() {
    char* base = SDL_GetBasePath();
    if (!base) return "";
    std::string folder = base;
    SDL_free(base);
    return folder;
}

std::int64_t readCounter() {
    if (SDL_GetPerformanceFrequency() == 0) {
        auto now = std::chrono::steady_clock::now().time_since_epoch();
        return std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
    }
    return static_cast<std::int64_t>(SDL_GetPerformanceCounter());
}

std::int64_t counterFrequency() {
    std::uint64_t frequency = SDL_GetPerformanceFrequency();
    // Without a high-resolution counter, readCounter falls back to a nanosecond clock.
    return frequency == 0 ? 1000000000 : static_cast<std::int64_t>(frequency);
}

}  // namespace platform
