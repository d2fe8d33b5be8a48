// The preview mode on Windows: the picture in the control panel's preview area, or the
// live show when the area is wide enough for it.
#include "app/PreviewRun.h"

#include <windows.h>

#include <cstdint>

#include "platform/Platform.h"
#include "platform/win32/Win32Preview.h"

namespace {

constexpr int kLiveShowWidth = 320;

HWND previewArea(const SaverApp& app) {
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::uint32_t>(app.parentWindow)));
}

}  // namespace

std::uint64_t livePreviewWindow(const SaverApp& app) {
    HWND parent = previewArea(app);
    RECT area;
    if (!parent || !IsWindow(parent) || !GetClientRect(parent, &area)) return 0;
    return area.right - area.left >= kLiveShowWidth ? static_cast<std::uint32_t>(app.parentWindow) : 0;
}

int runPreviewMode(const SaverApp& app, bool) {
    HWND parent = previewArea(app);
    if (!runPreviewWindow(static_cast<HINSTANCE>(app.instance), parent, app.showCommand)) {
        platform::messageBox("Cannot creat window!", "ERROR");
        return 1;
    }
    return 0;
}
