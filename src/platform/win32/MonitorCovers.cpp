#include "platform/win32/MonitorCovers.h"

namespace {

const char kCoverClass[] = "VoidriftMonitorCover";
const char kCoverTitle[] = "Voidrift monitor cover";
std::vector<HWND> covers;

BOOL CALLBACK collectMonitor(HMONITOR, HDC, LPRECT area, LPARAM list) {
    reinterpret_cast<std::vector<RECT>*>(list)->push_back(*area);
    return TRUE;
}

// The show hides the pointer; over a cover it stays hidden. A click on a cover must not take
// the keyboard from the show, whose key presses end the run.
LRESULT CALLBACK coverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETCURSOR) {
        SetCursor(nullptr);
        return TRUE;
    }
    if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    return DefWindowProcA(window, message, wParam, lParam);
}

bool registerCoverClass(HINSTANCE instance) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = coverWindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kCoverClass;
    return RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

std::vector<RECT> monitorsBesideShow(const std::vector<RECT>& monitors, const RECT& show) {
    std::vector<RECT> beside;
    for (const RECT& monitor : monitors) {
        RECT shared;
        if (!IntersectRect(&shared, &monitor, &show)) beside.push_back(monitor);
    }
    return beside;
}

void coverOtherMonitors(HINSTANCE instance, const RECT& show) {
    std::vector<RECT> monitors;
    EnumDisplayMonitors(nullptr, nullptr, collectMonitor, reinterpret_cast<LPARAM>(&monitors));
    std::vector<RECT> beside = monitorsBesideShow(monitors, show);
    if (beside.empty() || !registerCoverClass(instance)) return;
    for (const RECT& area : beside) {
        HWND cover = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kCoverClass, kCoverTitle,
                                     WS_POPUP | WS_VISIBLE, area.left, area.top, area.right - area.left,
                                     area.bottom - area.top, nullptr, nullptr, instance, nullptr);
        if (cover) covers.push_back(cover);
    }
}

void removeMonitorCovers() {
    for (HWND cover : covers) DestroyWindow(cover);
    covers.clear();
}
