// A window for the end-to-end tests of hack mode, made the way a screensaver daemon makes
// one (a visual fit for GL), driven by lines on stdin:
//   resize W H      resize the window and wait until the server has done it
//   snap FILE       save the window's picture as a PNG and print what it shows
//   destroy         destroy the window (the hack drawing into it must end)
// `x11_test_window create WxH[+X+Y]` prints the window id in hex first; `x11_test_window snap-root
// FILE` saves and describes the whole screen instead. A description reads
//   size=WxH bars=N left=L right=R upper=U lower=D
// with N the lit pixels in the letterbox bars and L, R, U, D those in the left, right,
// upper and lower halves of the view between them.
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

bool capture(Display* display, Window window, Picture& picture) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return false;
    XImage* image = XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image) return false;
    picture.width = attributes.width;
    picture.height = attributes.height;
    picture.rgb.resize(static_cast<std::size_t>(picture.width) * picture.height * 3);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            unsigned long pixel = XGetPixel(image, x, y);
            unsigned char* out = &picture.rgb[(static_cast<std::size_t>(y) * picture.width + x) * 3];
            out[0] = static_cast<unsigned char>((pixel & image->red_mask) >> __builtin_ctzl(image->red_mask));
            out[1] = static_cast<unsigned char>((pixel & image->green_mask) >> __builtin_ctzl(image->green_mask));
            out[2] = static_cast<unsigned char>((pixel & image->blue_mask) >> __builtin_ctzl(image->blue_mask));
        }
    }
    XDestroyImage(image);
    return true;
}

bool writePng(const std::string& path, const Picture& picture) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, picture.width, picture.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < picture.height; ++y) {
        png_write_row(png, &picture.rgb[static_cast<std::size_t>(y) * picture.width * 3]);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

bool lit(const Picture& picture, int x, int y) {
    const unsigned char* p = &picture.rgb[(static_cast<std::size_t>(y) * picture.width + x) * 3];
    return p[0] > 16 || p[1] > 16 || p[2] > 16;
}

// The bars are the top and bottom eighths; one row at each edge is left out for rounding.
std::string describe(const Picture& picture) {
    int bar = picture.height / 8;
    long bars = 0, left = 0, right = 0, upper = 0, lower = 0;
    for (int y = 0; y < picture.height; ++y) {
        bool inBar = y < bar - 1 || y > picture.height - bar;
        bool inView = y > bar && y < picture.height - bar - 1;
        for (int x = 0; x < picture.width; ++x) {
            if (!lit(picture, x, y)) continue;
            if (inBar) bars += 1;
            if (!inView) continue;
            if (x < picture.width / 2) left += 1; else right += 1;
            if (y > picture.height / 2) lower += 1; else upper += 1;
        }
    }
    std::ostringstream out;
    out << "size=" << picture.width << "x" << picture.height << " bars=" << bars << " left=" << left
        << " right=" << right << " upper=" << upper << " lower=" << lower;
    return out.str();
}

bool snap(Display* display, Window window, const std::string& path) {
    Picture picture;
    if (!capture(display, window, picture) || !writePng(path, picture)) {
        std::cerr << "x11_test_window: cannot save " << path << "\n";
        return false;
    }
    std::cout << describe(picture) << std::endl;
    return true;
}

Window createGlWindow(Display* display, int x, int y, int width, int height) {
    int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 8, GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE, 8,
                        GLX_DEPTH_SIZE, 24, None};
    int screen = DefaultScreen(display);
    XVisualInfo* visual = glXChooseVisual(display, screen, attributes);
    if (!visual) return 0;
    Window root = RootWindow(display, screen);
    XSetWindowAttributes set = {};
    set.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    set.background_pixel = 0;
    set.border_pixel = 0;
    set.event_mask = StructureNotifyMask | ButtonPressMask;  // as a daemon's window: its owner takes the clicks
    Window window = XCreateWindow(display, root, x, y, width, height, 0, visual->depth, InputOutput, visual->visual,
                                  CWColormap | CWBackPixel | CWBorderPixel | CWEventMask, &set);
    XFree(visual);
    XMapWindow(display, window);
    XSync(display, False);
    return window;
}

void waitForSize(Display* display, Window window, int width, int height) {
    for (int i = 0; i < 200; ++i) {
        XWindowAttributes attributes;
        XGetWindowAttributes(display, window, &attributes);
        if (attributes.width == width && attributes.height == height) return;
        XSync(display, False);
    }
}

int runWindow(Display* display, const std::string& size) {
    int width = 0, height = 0, x = 0, y = 0;
    int fields = std::sscanf(size.c_str(), "%dx%d+%d+%d", &width, &height, &x, &y);
    if ((fields != 2 && fields != 4) || width <= 0 || height <= 0) return 2;
    Window window = createGlWindow(display, x, y, width, height);
    if (!window) {
        std::cerr << "x11_test_window: no GL visual\n";
        return 1;
    }
    std::printf("0x%lx\n", window);
    std::fflush(stdout);
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream words(line);
        std::string command;
        words >> command;
        if (command == "resize") {
            words >> width >> height;
            XResizeWindow(display, window, width, height);
            waitForSize(display, window, width, height);
            std::cout << "resized" << std::endl;
        } else if (command == "snap") {
            std::string path;
            words >> path;
            if (!snap(display, window, path)) return 1;
        } else if (command == "destroy") {
            XDestroyWindow(display, window);
            XSync(display, False);
            std::cout << "destroyed" << std::endl;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: x11_test_window create WxH[+X+Y] | snap-root FILE\n";
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::cerr << "x11_test_window: no display\n";
        return 1;
    }
    std::string command = argv[1];
    int result = 2;
    if (command == "create") result = runWindow(display, argv[2]);
    if (command == "snap-root") result = snap(display, DefaultRootWindow(display), argv[2]) ? 0 : 1;
    XCloseDisplay(display);
    return result;
}
