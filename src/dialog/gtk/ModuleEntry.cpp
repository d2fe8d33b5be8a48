// The module's one exported function: GTK starts here, never in the show.
#include <gtk/gtk.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/ConfigDialogModule.h"
#include "dialog/gtk/GtkConfigDialog.h"

extern "C" __attribute__((visibility("default"))) int voidriftRunConfigDialog(ConfigDialogRequest* request) {
    if (!request || request->interfaceVersion != kConfigDialogInterface || !request->settings) return configDialogFailed;
    if (!gtk_init_check(nullptr, nullptr)) {
        std::snprintf(request->error, sizeof request->error,
                      "cannot open the display for the configuration dialog (DISPLAY is \"%s\")",
                      g_getenv("DISPLAY") ? g_getenv("DISPLAY") : "");
        return configDialogFailed;
    }
    std::vector<platform::DisplayMode> modes(request->modes, request->modes + request->modeCount);
    std::string saveProblem;
    ConfigDialogModel model(*request->settings, modes, request->desktop, [request, &saveProblem](const Settings& record) {
        char reason[512] = {};
        bool saved = request->save && request->save(record, reason, sizeof reason);
        saveProblem = reason;
        return saved;
    });
    model.setVisitTarget(request->helpPage ? request->helpPage : "");
    GtkConfigDialog dialog(model, request->settingsPath ? request->settingsPath : "",
                           request->settingsNote ? request->settingsNote : "", saveProblem);
    DialogAction result = dialog.run(static_cast<unsigned long>(request->parentWindow));
    return result == DialogAction::closeOk ? configDialogOk : configDialogCancel;
}
