#include "platform/sdl/X11ForeignWindow.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

namespace platform::x11 {

namespace {

Display* display = nullptr;
Window watched = 0;
int width = 0;
int height = 0;
bool destroyed = false;
bool probing = false;  // while the window is first looked at: a missing one is an answer
XErrorHandler previousHandler = nullptr;

// An error about the window means its owner has destroyed it while we were drawing. The
// GL driver and SDL carry on with the failed request's unset results (a garbage size, a
// null visual) and would crash, so the run ends here, at once and successfully: a hack
// changed nothing that needs putting back. Other errors go to the handler that was there.
int onXError(Display* connection, XErrorEvent* error) {
    if (watched != 0 && (error->resourceid == watched || destroyed)) {
        destroyed = true;
        if (!probing) std::_Exit(0);
        return 0;
    }
    return previousHandler ? previousHandler(connection, error) : 0;
}

}  // namespace

bool watchForeignWindow(std::uint64_t handle) {
    stopWatching();
    display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "voidrift: cannot open the X display to draw into window 0x%llx\n",
                     static_cast<unsigned long long>(handle));
        return false;
    }
    watched = handle != 0 ? static_cast<Window>(handle) : DefaultRootWindow(display);
    destroyed = false;
    previousHandler = XSetErrorHandler(onXError);
    XWindowAttributes attributes;
    probing = true;
    bool exists = XGetWindowAttributes(display, watched, &attributes) != 0;
    if (exists) XSelectInput(display, watched, StructureNotifyMask);
    XSync(display, False);
    probing = false;
    if (!exists || destroyed) {
        std::fprintf(stderr, "voidrift: there is no window 0x%lx to draw into\n", watched);
        stopWatching();
        return false;
    }
    width = attributes.width;
    height = attributes.height;
    return true;
}

void stopWatching() {
    if (!display) return;
    // SDL's handler (or Xlib's default) takes over again, unless someone replaced ours.
    XErrorHandler current = XSetErrorHandler(previousHandler);
    if (current != onXError) XSetErrorHandler(current);
    XCloseDisplay(display);
    display = nullptr;
    watched = 0;
    previousHandler = nullptr;
}

std::uint64_t watchedWindow() { return watched; }

void pollForeignWindow() {
    if (!display) return;
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == DestroyNotify && event.xdestroywindow.window == watched) {
            destroyed = true;
        } else if (event.type == ConfigureNotify && event.xconfigure.window == watched) {
            width = event.xconfigure.width;
            height = event.xconfigure.height;
        }
    }
}

bool foreignWindowDestroyed() { return destroyed; }

void foreignWindowSize(int& w, int& h) {
    w = width;
    h = height;
}

}  // namespace platform::x11
