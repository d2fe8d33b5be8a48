#include "platform/sdl/X11Dpms.h"

#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>

namespace platform::x11 {

namespace {

Display* display = nullptr;
bool tried = false;
bool hasDpms = false;

}  // namespace

bool monitorAsleep() {
    if (!tried) {
        tried = true;
        display = XOpenDisplay(nullptr);
        int eventBase = 0;
        int errorBase = 0;
        hasDpms = display && DPMSQueryExtension(display, &eventBase, &errorBase) && DPMSCapable(display);
    }
    if (!hasDpms) return false;
    CARD16 level = DPMSModeOn;
    BOOL enabled = False;
    if (!DPMSInfo(display, &level, &enabled)) return false;
    return enabled && level != DPMSModeOn;
}

void closeDpms() {
    if (display) XCloseDisplay(display);
    display = nullptr;
    tried = false;
    hasDpms = false;
}

}  // namespace platform::x11
