#include "idle/X11Idle.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

class X11Idle : public IdleSource {
public:
    ~X11Idle() override {
        if (!display) return;
        if (timerSet) XSetScreenSaver(display, saved.timeout, saved.interval, saved.blanking, saved.exposures);
        XCloseDisplay(display);
    }

    int descriptor() const override { return ConnectionNumber(display); }

    short pollEvents() override {
        XFlush(display);
        return POLLIN;
    }

    bool dispatch(short revents) override {
        if (revents & (POLLERR | POLLHUP)) return false;
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != eventBase + ScreenSaverNotify) continue;
            auto* notify = reinterpret_cast<XScreenSaverNotifyEvent*>(&event);
            if (notify->state == ScreenSaverOn) {
                report(IdleEdge::Idle);
                // The server's own saver goes at once: the show takes the screen. That
                // reset is no user activity, so its Off is not reported.
                XForceScreenSaver(display, ScreenSaverReset);
                ownResets += 1;
            } else if (notify->state == ScreenSaverOff) {
                if (ownResets > 0) {
                    ownResets -= 1;
                } else {
                    report(IdleEdge::Active);
                }
            }
        }
        return true;
    }

    struct Timer {
        int timeout = 0, interval = 0, blanking = 0, exposures = 0;
    };
    Display* display = nullptr;
    int eventBase = 0;
    Timer saved;
    bool timerSet = false;
    int ownResets = 0;
};

namespace {

bool hasProperty(Display* display, Window window, Atom atom) {
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    int result =
        XGetWindowProperty(display, window, atom, 0, 1, False, AnyPropertyType, &type, &format, &items, &after, &data);
    if (data) XFree(data);
    return result == Success && type != None;
}

// XScreenSaver's daemon marks a window of its own, a child of the root, with its version
// (as xscreensaver-command finds it). A window that goes meanwhile only fails its read.
bool xscreensaverRuns(Display* display) {
    Atom version = XInternAtom(display, "_SCREENSAVER_VERSION", True);
    if (version == None) return false;
    XErrorHandler previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    bool found = hasProperty(display, DefaultRootWindow(display), version);
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count && !found; ++i) found = hasProperty(display, children[i], version);
        if (children) XFree(children);
    }
    XSync(display, False);
    XSetErrorHandler(previous);
    return found;
}

}  // namespace

std::unique_ptr<IdleSource> connectX11() {
    auto source = std::make_unique<X11Idle>();
    source->display = XOpenDisplay(nullptr);
    if (!source->display) return nullptr;
    int errorBase = 0;
    if (!XScreenSaverQueryExtension(source->display, &source->eventBase, &errorBase)) return nullptr;
    return source;
}

std::string screenSaverDaemon(IdleSource& watched) {
    auto& source = static_cast<X11Idle&>(watched);
    // Other savers register with the extension, or own the screen saver selection.
    if (xscreensaverRuns(source.display)) return "XScreenSaver";
    Atom registered = XInternAtom(source.display, "_MIT_SCREEN_SAVER_ID", True);
    if (registered != None && hasProperty(source.display, DefaultRootWindow(source.display), registered)) {
        return "another screensaver";
    }
    Atom selection = XInternAtom(source.display, "_SCREENSAVER", True);
    if (selection != None && XGetSelectionOwner(source.display, selection) != None) return "another screensaver";
    return "";
}

bool watchX11Idle(IdleSource& watched, int seconds) {
    auto& source = static_cast<X11Idle&>(watched);
    X11Idle::Timer& saved = source.saved;
    XGetScreenSaver(source.display, &saved.timeout, &saved.interval, &saved.blanking, &saved.exposures);
    XSetScreenSaver(source.display, seconds, 0, DontPreferBlanking, AllowExposures);
    source.timerSet = true;
    XScreenSaverSelectInput(source.display, DefaultRootWindow(source.display), ScreenSaverNotifyMask);
    XFlush(source.display);
    return true;
}

