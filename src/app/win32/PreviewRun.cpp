// The preview mode on Windows: the picture in the control panel's preview area.
#include "app/PreviewRun.h"

#include <windows.h>

#include <cstdint>

#include "platform/Platform.h"
#include "platform/win32/Win32Preview.h"

int runPreviewMode(const SaverApp& app, bool) {
    HWND parent = reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::uint32_t>(app.parentWindow)));
    if (!runPreviewWindow(static_cast<HINSTANCE>(app.instance), parent, app.showCommand)) {
        platform::messageBox("Cannot creat window!", "ERROR");
        return 1;
    }
    return 0;
}
