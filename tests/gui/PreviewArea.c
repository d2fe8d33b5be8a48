/* A plain grey X11 window standing in for a settings panel's preview area:
 *   preview_area WIDTH HEIGHT X Y
 * prints the window's id in hex once it is mapped, then serves events until the window is
 * destroyed (xdotool windowkill) or the process is killed. */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv) {
    if (argc != 5) {
        fprintf(stderr, "usage: preview_area WIDTH HEIGHT X Y\n");
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "preview_area: no display\n");
        return 1;
    }
    int screen = DefaultScreen(display);
    Window window = XCreateSimpleWindow(display, RootWindow(display, screen), atoi(argv[3]), atoi(argv[4]),
                                        (unsigned)atoi(argv[1]), (unsigned)atoi(argv[2]), 0, 0, 0x808080);
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify) {
            printf("0x%lx\n", (unsigned long)window);
            fflush(stdout);
        }
        if (event.type == DestroyNotify) break;
    }
    XCloseDisplay(display);
    return 0;
}
