// The one interface between the show and the operating system: a window with an
// OpenGL 1.1-compatible context, input events, cursor, display modes, gamma ramp,
// swap interval, message boxes and the high-resolution counter. One window at a time.
// Backend: sdl/ (SDL2). Nothing in the core includes this header.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct DisplayMode {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
};

enum class EventType { KeyDown, KeyUp, MouseMove, MouseButton, Quit, Other };

struct Event {
    EventType type = EventType::Other;
    int key = 0;             // virtual key code 1..255 (see KeyCodes.h), for key events
    bool systemKey = false;  // Alt held or F10: the system's own keys
    int x = 0;               // mouse position in window client coordinates
    int y = 0;
};

struct WindowRequest {
    const char* title = "";
    int width = 800;
    int height = 600;
    bool hidden = false;   // offscreen runs: never shown
    bool topmost = false;  // above every other window (the full-screen saver)
};

// Starts the video layer. `offscreen` asks for a driver that needs no display.
bool initialize(bool offscreen);
void shutdown();
bool isOffscreen();
// True when a display server is reachable from this process's environment.
bool displayAvailable();

// The window and its context: 32-bit colour, 24 depth, 8 stencil, double-buffered.
// The context is current when this returns true.
bool openWindow(const WindowRequest& request);
// Draws into a window another program owns (an X11 window id; an HWND on Windows; 0 for
// the whole screen's root window) at its size, following its resizes; never shown, moved,
// grabbed or mode-changed by us. The context is current when this returns true.
bool openForeignWindow(std::uint64_t handle);
// True once that window has been destroyed (the run then ends).
bool foreignWindowGone();
void showWindow();
// Deletes the context (after making none current) and destroys the window.
void closeWindow();
void* nativeWindow();
void clientSize(int& width, int& height);
void swapBuffers();
void* procAddress(const char* name);
// 0 or 1; false when the driver offers no swap control.
bool setSwapInterval(int interval);

bool pollEvent(Event& event);
void warpCursor(int x, int y);  // client coordinates
// Drops pointer motion still queued from before a warp, so it is not taken for new movement.
void discardPointerMotion();
void showCursor(bool visible);

bool desktopMode(DisplayMode& mode);
std::vector<DisplayMode> displayModes();
// Temporary full-screen change of the window's display; undone by restoreDisplayMode
// (and by closeWindow). False when the display cannot take the mode: the window then
// covers the screen in the mode it has.
bool changeDisplayMode(const DisplayMode& mode);
void restoreDisplayMode();

// 256 entries per channel. getGammaRamp reads what the display has now.
bool getGammaRamp(std::uint16_t* red, std::uint16_t* green, std::uint16_t* blue);
bool setGammaRamp(const std::uint16_t* red, const std::uint16_t* green, const std::uint16_t* blue);

// True while the monitor is powered down (standby, suspend or off); the run then draws
// nothing. Asks the display server at most twice a second. False when it cannot tell.
bool monitorAsleep();

// A modal message box with an OK button; stderr when there is no screen.
void messageBox(const char* text, const char* caption);
// Closes the message box now up, if any, so that messageBox returns (safe in a signal
// handler). A box kept in a process of its own also ends when this process does.
void endMessageBox();

// True when this process may play music: no other Voidrift of this user's session does.
// The claim holds until the process ends, however it ends.
bool claimMusic();

// Hands the heap's free pages back to the system (after a world's textures are let go,
// freed blocks in the middle of the heap would otherwise stay resident).
void returnFreeMemory();

// The folder of the running program's file (links resolved); empty when unknown.
std::string programFolder();

// Windows of other programs (a settings panel's preview area), by their X11 id.
// False when there is no display or no such window.
bool foreignWindowSize(std::uint64_t window, int& width, int& height);
// How a picture preview ended: a window destroyed, no child window made, or the parent
// grown wide enough for something better than the picture.
enum class PreviewEnd { closed, failed, grown };
// Covers the foreign window `parent` with a black child window that shows the RGB picture
// (3 bytes a pixel, top row first) at its top-left corner, redrawn after every exposure
// and following the parent's size, until either window is destroyed or the parent is
// at least `grownWidth` pixels wide.
PreviewEnd runPicturePreview(std::uint64_t parent, const std::uint8_t* rgb, int width, int height, int grownWidth);

// The renderer this build draws with: "gl" (GL 1.1) or "gles" (the GLES layer).
const char* rendererName();
// Replaces this process with the program `name` in this program's folder, run with
// `arguments` (program name first). Returns only when that cannot be done.
void execSibling(const char* name, const std::vector<std::string>& arguments);

std::int64_t readCounter();
std::int64_t counterFrequency();

}  // namespace platform
