// The preview mode on Windows: the picture in the control panel's preview area, or the
// live show when the area is wide enough for it.
#include "app/PreviewRun.h"

#include <windows.h>

#include <cstdint>

#include "platform/Platform.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/QuietRuns.h"
#include "platform/win32/Win32Preview.h"

namespace {

// In pixels at 100 %: on a 200 % screen the same preview area is twice as many pixels wide.
constexpr int kLiveShowWidth = 320;

HWND previewArea(const SaverApp& app) {
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::uint32_t>(app.parentWindow)));
}

}  // namespace

// The live show in the preview area is as quiet as the picture: no music, no message boxes.
std::uint64_t livePreviewWindow(const SaverApp& app) {
    HWND parent = previewArea(app);
    RECT area;
    if (!parent || !IsWindow(parent) || !GetClientRect(parent, &area)) return 0;
    if (logicalPixels(area.right - area.left, windowDpi(parent)) < kLiveShowWidth) return 0;
    platform::keepPreviewQuiet();
    return static_cast<std::uint32_t>(app.parentWindow);
}

int runPreviewMode(const SaverApp& app, bool) {
    HWND parent = previewArea(app);
    if (!runPreviewWindow(static_cast<HINSTANCE>(app.instance), parent, app.showCommand)) {
        platform::messageBox("Cannot creat window!", "ERROR");
        return 1;
    }
    return 0;
}
