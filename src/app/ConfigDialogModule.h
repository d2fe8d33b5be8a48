// The contract between the program and a dialog view built as a loadable module: the
// program reads the settings, the display modes and the desktop mode, loads the module
// (so its toolkit is loaded only for the dialog) and calls its one entry point.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/Platform.h"
#include "script/Settings.h"

constexpr int kConfigDialogInterface = 3;  // bumped whenever this record changes
constexpr const char kConfigDialogEntry[] = "voidriftRunConfigDialog";
constexpr const char kConfigDialogModuleName[] = "voidrift-dialog-gtk.so";

// What ends the dialog, or why it could not be shown.
enum ConfigDialogResult : int {
    configDialogOk = 1,
    configDialogCancel = 2,
    configDialogFailed = -1,  // `error` says why (no display, for one)
};

struct ConfigDialogRequest {
    int interfaceVersion = kConfigDialogInterface;
    Settings* settings = nullptr;  // edited in place
    const platform::DisplayMode* modes = nullptr;
    int modeCount = 0;
    platform::DisplayMode desktop;
    // False when the settings file cannot be written; `reason` (of `capacity` bytes) says why.
    bool (*save)(const Settings& record, char* reason, std::size_t capacity) = nullptr;
    const char* settingsPath = "";
    const char* settingsNote = "";  // why the file could not be read; shown as the dialog opens
    std::uint64_t parentWindow = 0;  // an X11 window the dialog stays above; 0: none
    char error[256] = {};
    const char* helpPage = "";  // the local page "Visit..." opens; "": not installed
};

extern "C" {
using RunConfigDialogFunction = int (*)(ConfigDialogRequest* request);
}
