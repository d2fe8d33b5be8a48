// The configure mode on Windows: the dialog over the registry settings, owned by the window
// the command line names.
#include "app/ConfigureRun.h"

#include <windows.h>

#include <cstdint>
#include <vector>

#include "app/ConfigDialogModel.h"
#include "app/HelpPage.h"
#include "app/win32/RegistrySettings.h"
#include "dialog/win32/Win32ConfigDialog.h"
#include "platform/Platform.h"
#include "script/Settings.h"

namespace {

// The model edits the process-wide record, which the registry store writes.
bool saveRecord(const Settings&) { return storeSettingsInRegistry(); }

// A handle that names no window would keep the dialog from opening at all: no owner then.
HWND ownerWindow(std::int32_t handle) {
    HWND owner = reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::uint32_t>(handle)));
    return owner && IsWindow(owner) ? owner : nullptr;
}

}  // namespace

int runConfigureDialog(const SaverApp& app, bool) {
    platform::DisplayMode desktop{static_cast<int>(settings.width), static_cast<int>(settings.height), settings.depth};
    platform::desktopMode(desktop);
    ConfigDialogModel model(settings, platform::displayModes(), desktop, saveRecord);
    model.setVisitTarget(findHelpPage(platform::programFolder()));
    INT_PTR result = runWin32ConfigDialog(static_cast<HINSTANCE>(app.instance), ownerWindow(app.parentWindow), model);
    if (result == -1) {
        platform::messageBox("The configuration dialog cannot be shown.", "Voidrift 3D Screensaver");
        return 1;
    }
    return 0;
}
