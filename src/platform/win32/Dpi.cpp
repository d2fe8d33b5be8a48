#include "platform/win32/Dpi.h"

namespace {

constexpr int kBaseDpi = 96;

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

}  // namespace

// GetDpiForWindow is looked up, so the program still starts on systems without it.
int windowDpi(HWND window) {
    static auto forWindow = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    int dpi = forWindow && window ? static_cast<int>(forWindow(window)) : 0;
    if (dpi <= 0) {
        HDC screen = GetDC(nullptr);
        dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
        if (screen) ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : kBaseDpi;
}

int logicalPixels(int pixels, int dpi) { return dpi > 0 ? MulDiv(pixels, kBaseDpi, dpi) : pixels; }

int devicePixels(int logical, int dpi) { return dpi > 0 ? MulDiv(logical, dpi, kBaseDpi) : logical; }
