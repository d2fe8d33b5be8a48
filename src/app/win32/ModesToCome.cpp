// The configure and preview modes of the Windows build, until its dialog and preview
// views exist: a short note (in a message box for the dialog, which a user asked for;
// on stdout only for the preview, which the display control panel asks for unseen).
#include <cstdio>

#include "app/ConfigureRun.h"
#include "app/PreviewRun.h"
#include "platform/Platform.h"

int runConfigureDialog(const SaverApp&, bool) {
    const char text[] = "The settings dialog is not available in this build.";
    std::puts(text);
    platform::messageBox(text, "Voidrift 3D Screensaver");
    return 0;
}

std::uint64_t livePreviewWindow(const SaverApp&) { return 0; }

int runPreviewMode(const SaverApp&, bool) {
    std::puts("The preview is not available in this build.");
    return 0;
}
