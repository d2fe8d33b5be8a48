// The preview in a foreign window, drawn with plain Xlib: a picture needs no OpenGL, and
// a child window of our own is what lets us see the parent's destruction.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>

#include "platform/Platform.h"

namespace platform {

namespace {

// X errors arrive asynchronously; while a foreign window is used they are only counted.
int errorCount = 0;

int countError(Display*, XErrorEvent*) {
    ++errorCount;
    return 0;
}

class ErrorTrap {
public:
    ErrorTrap() : previous_(XSetErrorHandler(countError)) { errorCount = 0; }
    ~ErrorTrap() { XSetErrorHandler(previous_); }
    bool failed(Display* display) const {
        XSync(display, False);
        return errorCount > 0;
    }

private:
    int (*previous_)(Display*, XErrorEvent*);
};

bool readAttributes(Display* display, Window window, XWindowAttributes& attributes) {
    ErrorTrap trap;
    Status status = XGetWindowAttributes(display, window, &attributes);
    return !trap.failed(display) && status != 0;
}

int lowestBit(unsigned long mask) {
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

unsigned long channel(std::uint8_t value, unsigned long mask) {
    unsigned long top = mask >> lowestBit(mask);
    return ((value * top + 127) / 255) << lowestBit(mask);
}

// The picture in the window's own pixel format; null for a visual that is not true colour.
XImage* makeImage(Display* display, const XWindowAttributes& window, const std::uint8_t* rgb, int width, int height) {
    Visual* visual = window.visual;
    if (visual->c_class != TrueColor && visual->c_class != DirectColor) return nullptr;
    XImage* image = XCreateImage(display, visual, static_cast<unsigned>(window.depth), ZPixmap, 0, nullptr,
                                 static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
    if (!image) return nullptr;
    image->data = static_cast<char*>(std::calloc(static_cast<std::size_t>(image->bytes_per_line), static_cast<std::size_t>(height)));
    if (!image->data) {
        XDestroyImage(image);
        return nullptr;
    }
    unsigned long colourBits = visual->red_mask | visual->green_mask | visual->blue_mask;
    // A depth-32 visual carries alpha in the other bits: opaque.
    unsigned long alpha = window.depth == 32 ? (0xffffffffUL & ~colourBits) : 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = rgb + (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3;
            XPutPixel(image, x, y,
                      channel(p[0], visual->red_mask) | channel(p[1], visual->green_mask) |
                          channel(p[2], visual->blue_mask) | alpha);
        }
    }
    return image;
}

struct Preview {
    Display* display = nullptr;
    Window parent = 0;
    Window child = 0;
    XImage* image = nullptr;
    GC gc = nullptr;
    int width = 0;
    int height = 0;
};

bool createChild(Preview& preview, const XWindowAttributes& parentAttributes) {
    ErrorTrap trap;
    XSetWindowAttributes attributes;
    attributes.background_pixel = 0;  // black in every true-colour visual
    attributes.event_mask = ExposureMask | StructureNotifyMask;
    preview.child = XCreateWindow(preview.display, preview.parent, 0, 0,
                                  static_cast<unsigned>(parentAttributes.width), static_cast<unsigned>(parentAttributes.height), 0,
                                  CopyFromParent, InputOutput, CopyFromParent, CWBackPixel | CWEventMask, &attributes);
    XStoreName(preview.display, preview.child, "Qenn");
    // The parent's size changes and its end reach us too.
    XSelectInput(preview.display, preview.parent, StructureNotifyMask);
    XMapWindow(preview.display, preview.child);
    return !trap.failed(preview.display) && preview.child != 0;
}

PreviewEnd runEvents(Preview& preview, int grownWidth) {
    for (;;) {
        XEvent event;
        XNextEvent(preview.display, &event);
        switch (event.type) {
            case Expose:
                if (event.xexpose.window == preview.child && event.xexpose.count == 0 && preview.image) {
                    XPutImage(preview.display, preview.child, preview.gc, preview.image, 0, 0, 0, 0,
                              static_cast<unsigned>(preview.width), static_cast<unsigned>(preview.height));
                    XFlush(preview.display);
                }
                break;
            case ConfigureNotify:
                if (event.xconfigure.window == preview.parent) {
                    if (event.xconfigure.width >= grownWidth) return PreviewEnd::grown;
                    XResizeWindow(preview.display, preview.child, static_cast<unsigned>(event.xconfigure.width),
                                  static_cast<unsigned>(event.xconfigure.height));
                }
                break;
            case DestroyNotify:
                if (event.xdestroywindow.window == preview.child || event.xdestroywindow.window == preview.parent) {
                    return PreviewEnd::closed;
                }
                break;
            default:
                break;
        }
    }
}

}  // namespace

bool foreignWindowSize(std::uint64_t window, int& width, int& height) {
    Display* display = window ? XOpenDisplay(nullptr) : nullptr;
    if (!display) return false;
    XWindowAttributes attributes;
    bool found = readAttributes(display, static_cast<Window>(window), attributes);
    if (found) {
        width = attributes.width;
        height = attributes.height;
    }
    XCloseDisplay(display);
    return found;
}

PreviewEnd runPicturePreview(std::uint64_t parent, const std::uint8_t* rgb, int width, int height, int grownWidth) {
    Preview preview;
    preview.parent = static_cast<Window>(parent);
    preview.width = width;
    preview.height = height;
    preview.display = parent ? XOpenDisplay(nullptr) : nullptr;
    if (!preview.display) return PreviewEnd::failed;
    PreviewEnd end = PreviewEnd::failed;
    XWindowAttributes parentAttributes;
    if (readAttributes(preview.display, preview.parent, parentAttributes) && createChild(preview, parentAttributes)) {
        XWindowAttributes childAttributes;
        if (readAttributes(preview.display, preview.child, childAttributes)) {
            preview.image = makeImage(preview.display, childAttributes, rgb, width, height);
        }
        preview.gc = XCreateGC(preview.display, preview.child, 0, nullptr);
        end = runEvents(preview, grownWidth);
        XFreeGC(preview.display, preview.gc);
        if (preview.image) XDestroyImage(preview.image);
    }
    // Our child window goes with the connection.
    XCloseDisplay(preview.display);
    return end;
}

}  // namespace platform
