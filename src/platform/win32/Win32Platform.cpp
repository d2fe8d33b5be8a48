// The platform interface straight on Win32 and WGL: the "MyWindow" class with its window
// procedure, the pixel format and rendering context, the temporary full-screen mode, the
// device gamma ramp, the cursor, message boxes and the performance counter.
#include <windows.h>

#include <GL/gl.h>

#include <cstdio>
#include <deque>
#include <string>

#include "platform/Platform.h"
#include "platform/win32/MonitorCovers.h"
#include "platform/win32/QuietRuns.h"
#include "platform/win32/WideText.h"

namespace platform {

namespace {

const char kWindowClass[] = "MyWindow";
const int kIconResource = 111;

HWND window = nullptr;
HDC deviceContext = nullptr;
HGLRC renderingContext = nullptr;
bool classRegistered = false;
bool modeChanged = false;
HWND foreignParent = nullptr;  // the preview area the show draws into, if any
bool coverOthers = false;  // the full-screen show blacks out the other monitors
bool closing = false;  // our own DestroyWindow must not post a quit message
bool boxesShown = true;
bool previewQuiet = false;
std::deque<Event> pending;

using SwapIntervalFn = BOOL(WINAPI*)(int interval);

HINSTANCE programInstance() { return GetModuleHandleA(nullptr); }

// 32-bit colour, 24 depth, 8 stencil, double-buffered; format 1 when the system offers none.
bool choosePixelFormat(HDC dc) {
    PIXELFORMATDESCRIPTOR format = {};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 32;
    format.cDepthBits = 24;
    format.cStencilBits = 8;
    format.iLayerType = PFD_MAIN_PLANE;
    int number = ChoosePixelFormat(dc, &format);
    if (number == 0) {
        number = 1;
        if (DescribePixelFormat(dc, number, sizeof format, &format) == 0) return false;
    }
    return SetPixelFormat(dc, number, &format) == TRUE;
}

void createContext(HWND hwnd) {
    deviceContext = GetDC(hwnd);
    choosePixelFormat(deviceContext);  // a failure shows as a missing context below
    renderingContext = wglCreateContext(deviceContext);
    if (renderingContext) wglMakeCurrent(deviceContext, renderingContext);
}

void queue(EventType type, int key = 0, int x = 0, int y = 0) {
    Event event;
    event.type = type;
    event.key = key;
    event.x = x;
    event.y = y;
    pending.push_back(event);
}

LRESULT CALLBACK saverWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            createContext(hwnd);
            return 0;
        case WM_DESTROY:
        case WM_CLOSE:
            if (!closing) PostQuitMessage(0);
            return 0;
        case WM_KEYDOWN:
            queue(EventType::KeyDown, static_cast<int>(wParam & 0xFF));
            return 0;
        case WM_KEYUP:
            queue(EventType::KeyUp, static_cast<int>(wParam & 0xFF));
            return 0;
        case WM_SYSCOMMAND:
            // No screen-saver start, monitor power-down, move or close from the system menu.
            return 0;
        case WM_MOUSEMOVE:
            queue(EventType::MouseMove, 0, LOWORD(lParam), HIWORD(lParam));
            return 0;
        default:
            return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

bool registerWindowClass() {
    if (classRegistered) return true;
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = saverWindowProc;
    windowClass.hInstance = programInstance();
    windowClass.hIcon = LoadIconA(programInstance(), MAKEINTRESOURCEA(kIconResource));
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.lpszClassName = kWindowClass;
    classRegistered = RegisterClassA(&windowClass) != 0;
    return classRegistered;
}

// The device context for gamma: the window's, else the whole screen's.
HDC gammaContext(bool& release) {
    release = deviceContext == nullptr;
    return deviceContext ? deviceContext : GetDC(nullptr);
}

// The window and, through its creation, the OpenGL context; false (and nothing left) without either.
bool createSaverWindow(DWORD extendedStyle, const char* title, DWORD style, const RECT& area, HWND parent) {
    window = CreateWindowExA(extendedStyle, kWindowClass, title, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, area.left,
                             area.top, area.right - area.left, area.bottom - area.top, parent, nullptr,
                             programInstance(), nullptr);
    if (!window) {
        std::fprintf(stderr, "voidrift: cannot create the window (error %lu)\n", GetLastError());
        return false;
    }
    if (!renderingContext) {
        // A .scr has no console: without the box the show would just not appear.
        messageBox("No OpenGL context can be made for the show: the display driver offers no OpenGL "
                   "for this screen. Installing the graphics card maker's driver usually mends this.",
                   "Voidrift 3D Screensaver");
        closeWindow();
        return false;
    }
    return true;
}

void dropQuitMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

}  // namespace

// There is no offscreen driver on Windows: unattended runs use an ordinary window.
bool initialize(bool) { return true; }

void shutdown() { closeWindow(); }

bool isOffscreen() { return false; }

bool displayAvailable() { return true; }

bool openWindow(const WindowRequest& request) {
    if (window || !registerWindowClass()) return false;
    // Only the viewer's show is a window of its own on the taskbar; a run for a machine
    // (not topmost) takes neither the taskbar nor, in showWindow, the focus.
    DWORD extendedStyle = request.topmost ? WS_EX_APPWINDOW | WS_EX_TOPMOST : 0;
    coverOthers = request.topmost;
    return createSaverWindow(extendedStyle, request.title, WS_POPUP, {0, 0, request.width, request.height}, nullptr);
}

// The display control panel's preview area: a child covering its client area, which goes
// when the panel destroys the area.
bool openForeignWindow(std::uint64_t handle) {
    HWND parent = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(handle));
    RECT area;
    if (window || !IsWindow(parent) || !GetClientRect(parent, &area) || !registerWindowClass()) return false;
    foreignParent = parent;
    if (createSaverWindow(0, "Voidrift 3D Screensaver", WS_CHILD | WS_VISIBLE, area, parent)) return true;
    foreignParent = nullptr;
    return false;
}

bool foreignWindowGone() {
    if (!foreignParent) return false;
    if (!IsWindow(foreignParent)) return true;
    // The panel may resize its area; the show follows.
    RECT area;
    RECT own;
    if (GetClientRect(foreignParent, &area) && GetClientRect(window, &own) && !EqualRect(&area, &own)) {
        MoveWindow(window, 0, 0, area.right, area.bottom, FALSE);
    }
    return false;
}

void showWindow() {
    if (!window || foreignParent) return;
    if (!coverOthers) {
        // Under Wine, a window that is never activated also stays out of the window
        // manager's hands: without one, taking it back would cost two seconds at the end.
        ShowWindow(window, SW_SHOWNOACTIVATE);
        return;
    }
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    RECT shown;
    if (coverOthers && GetWindowRect(window, &shown)) coverOtherMonitors(programInstance(), shown);
    SetForegroundWindow(window);
    SetFocus(window);
}

void closeWindow() {
    removeMonitorCovers();
    restoreDisplayMode();
    if (renderingContext) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(renderingContext);
        renderingContext = nullptr;
    }
    if (window) {
        if (deviceContext) ReleaseDC(window, deviceContext);
        closing = true;
        DestroyWindow(window);
        closing = false;
        dropQuitMessages();
    }
    deviceContext = nullptr;
    window = nullptr;
    foreignParent = nullptr;
    pending.clear();
    if (classRegistered) UnregisterClassA(kWindowClass, programInstance());
    classRegistered = false;
}

void* nativeWindow() { return window; }

void clientSize(int& width, int& height) {
    width = 0;
    height = 0;
    RECT client;
    if (window && GetClientRect(window, &client)) {
        width = client.right - client.left;
        height = client.bottom - client.top;
    }
}

void swapBuffers() {
    if (deviceContext) SwapBuffers(deviceContext);
}

// Extension functions come from the driver; the OpenGL 1.1 ones only from opengl32.dll.
void* procAddress(const char* name) {
    PROC address = wglGetProcAddress(name);
    auto value = reinterpret_cast<INT_PTR>(address);
    if (value == 0 || value == 1 || value == 2 || value == 3 || value == -1) {
        HMODULE library = GetModuleHandleA("opengl32.dll");
        address = library ? GetProcAddress(library, name) : nullptr;
    }
    return reinterpret_cast<void*>(address);
}

bool setSwapInterval(int interval) {
    auto swapInterval = reinterpret_cast<SwapIntervalFn>(procAddress("wglSwapIntervalEXT"));
    return swapInterval && swapInterval(interval);
}

// One window message per call, as the main loop handles them: the event it gave, or Other.
bool pollEvent(Event& event) {
    if (pending.empty()) {
        MSG message;
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return false;
        if (message.message == WM_QUIT) {
            event = Event{};
            event.type = EventType::Quit;
            return true;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    event = Event{};
    if (!pending.empty()) {
        event = pending.front();
        pending.pop_front();
    }
    return true;
}

void warpCursor(int x, int y) {
    if (!window) return;
    POINT point{x, y};
    ClientToScreen(window, &point);
    SetCursorPos(point.x, point.y);
}

void discardPointerMotion() {
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE)) {
    }
    std::erase_if(pending, [](const Event& event) { return event.type == EventType::MouseMove; });
}

// ShowCursor keeps a count; step it until the cursor is in the wanted state.
void showCursor(bool visible) {
    if (visible) {
        while (ShowCursor(TRUE) < 0) {
        }
    } else {
        while (ShowCursor(FALSE) >= 0) {
        }
    }
}

bool desktopMode(DisplayMode& mode) {
    DEVMODEA current = {};
    current.dmSize = sizeof current;
    if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &current)) return false;
    mode = DisplayMode{static_cast<int>(current.dmPelsWidth), static_cast<int>(current.dmPelsHeight),
                       static_cast<int>(current.dmBitsPerPel)};
    return true;
}

std::vector<DisplayMode> displayModes() {
    std::vector<DisplayMode> modes;
    DEVMODEA entry = {};
    entry.dmSize = sizeof entry;
    for (DWORD index = 0; EnumDisplaySettingsA(nullptr, index, &entry); ++index) {
        modes.push_back({static_cast<int>(entry.dmPelsWidth), static_cast<int>(entry.dmPelsHeight),
                         static_cast<int>(entry.dmBitsPerPel)});
    }
    return modes;
}

// Exactly the three fields; the full-screen flag keeps the change out of the registry.
bool changeDisplayMode(const DisplayMode& mode) {
    DEVMODEA wanted = {};
    wanted.dmSize = sizeof wanted;
    wanted.dmPelsWidth = static_cast<DWORD>(mode.width);
    wanted.dmPelsHeight = static_cast<DWORD>(mode.height);
    wanted.dmBitsPerPel = static_cast<DWORD>(mode.bitsPerPixel);
    wanted.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    modeChanged = true;
    if (ChangeDisplaySettingsA(&wanted, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL) return true;
    // A display that cannot take the mode still gets no desktop showing around the show.
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (window && GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
        const RECT& area = monitor.rcMonitor;
        SetWindowPos(window, HWND_TOPMOST, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_NOACTIVATE);
    }
    return false;
}

// The mode stored in the registry: what was there before the run.
void restoreDisplayMode() {
    if (modeChanged) ChangeDisplaySettingsA(nullptr, 0);
    modeChanged = false;
}

bool getGammaRamp(std::uint16_t* red, std::uint16_t* green, std::uint16_t* blue) {
    WORD ramp[3][256];
    bool release = false;
    HDC dc = gammaContext(release);
    bool ok = GetDeviceGammaRamp(dc, ramp) == TRUE;
    if (release) ReleaseDC(nullptr, dc);
    if (!ok) return false;
    for (int i = 0; i < 256; ++i) {
        red[i] = ramp[0][i];
        green[i] = ramp[1][i];
        blue[i] = ramp[2][i];
    }
    return true;
}

bool setGammaRamp(const std::uint16_t* red, const std::uint16_t* green, const std::uint16_t* blue) {
    WORD ramp[3][256];
    for (int i = 0; i < 256; ++i) {
        ramp[0][i] = red[i];
        ramp[1][i] = green[i];
        ramp[2][i] = blue[i];
    }
    bool release = false;
    HDC dc = gammaContext(release);
    bool ok = SetDeviceGammaRamp(dc, ramp) == TRUE;
    if (release) ReleaseDC(nullptr, dc);
    return ok;
}

// The saver window swallows the system's power-down command, so the monitor stays on.
bool monitorAsleep() { return false; }

// The display control panel's preview area comes with the preview.
bool foreignWindowSize(std::uint64_t, int&, int&) { return false; }

PreviewEnd runPicturePreview(std::uint64_t, const std::uint8_t*, int, int, int) { return PreviewEnd::failed; }

void showNoMessageBoxes() { boxesShown = false; }

void keepPreviewQuiet() {
    previewQuiet = true;
    boxesShown = false;
}

bool previewKeptQuiet() { return previewQuiet; }

// Also on stderr, where a console or a log catches it. Every box the program shows reports
// a failure, hence the error icon.
void messageBox(const char* text, const char* caption) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    std::fflush(stderr);
    if (boxesShown) {
        MessageBoxW(window, wideText(text).c_str(), wideText(caption).c_str(), MB_OK | MB_ICONERROR | MB_TOPMOST);
    }
}

// A named mutex in the session's namespace; the system drops it with the process.
bool claimMusic() {
    static bool claimed = false;
    if (claimed) return true;
    HANDLE mutex = CreateMutexA(nullptr, TRUE, "Local\\VoidriftMusic");
    if (!mutex) return true;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    claimed = true;
    return true;
}

// The box belongs to this process and ends with it.
void endMessageBox() {}

// Freed large blocks go back to the system by themselves here.
void returnFreeMemory() {}

// Where the .scr lies, as UTF-8: with no "Path", data.ssd is looked for beside it.
std::string programFolder() {
    std::wstring path(32768, L'\0');
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size()) return "";
    path.resize(length);
    std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? "" : utf8Text(path.substr(0, slash + 1));
}

// Without a performance counter, the millisecond tick count stands in.
const char* rendererName() { return "gl"; }

// Windows has the GL 1.1 renderer alone.
void execSibling(const char*, const std::vector<std::string>&) {}

std::int64_t readCounter() {
    LARGE_INTEGER count;
    if (!QueryPerformanceCounter(&count)) return static_cast<std::int64_t>(GetTickCount64());
    return count.QuadPart;
}

std::int64_t counterFrequency() {
    LARGE_INTEGER frequency;
    if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart == 0) return 1000;
    return frequency.QuadPart;
}

}  // namespace platform
