#include "app/ConfigureRun.h"

#include <dlfcn.h>

#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "app/CompanionFiles.h"
#include "app/ConfigDialogModule.h"
#include "app/HelpPage.h"
#include "app/SettingsStore.h"
#include "platform/Platform.h"
#include "script/Settings.h"

namespace {

bool saveRecord(const Settings& record, char* reason, std::size_t capacity) {
    std::string problem;
    bool saved = saveSettingsTo(settingsPath(), record, &problem);
    std::snprintf(reason, capacity, "%s", problem.c_str());
    return saved;
}

// What the dialog says as it opens when the file was there but could not be read.
std::string unreadNote() {
    std::string problem = settingsFileProblem();
    if (problem.empty()) return "";
    problem[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(problem[0])));
    return problem + ".\nThe dialog shows the default settings, and OK will not write over the file.";
}

// The module stays loaded until the process ends: toolkits do not like being unloaded.
RunConfigDialogFunction loadDialogModule(std::string& error) {
    std::string path = findCompanion(kConfigDialogModuleName);
    if (path.empty()) {
        error = std::string("cannot find ") + kConfigDialogModuleName + " beside the program or in ../lib/voidrift";
        return nullptr;
    }
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        error = dlerror();
        return nullptr;
    }
    auto entry = reinterpret_cast<RunConfigDialogFunction>(dlsym(module, kConfigDialogEntry));
    if (!entry) error = path + " has no dialog in it";
    return entry;
}

}  // namespace

int runConfigureDialog(const SaverApp& app, bool displayStarted) {
    if (!displayStarted) {
        std::fprintf(stderr, "voidrift: the configuration dialog needs a desktop, and there is no display here\n");
        return 1;
    }
    std::string error;
    RunConfigDialogFunction run = loadDialogModule(error);
    if (!run) {
        std::fprintf(stderr, "voidrift: no configuration dialog: %s\n", error.c_str());
        return 1;
    }
    std::vector<platform::DisplayMode> modes = platform::displayModes();
    ConfigDialogRequest request;
    request.settings = &settings;
    request.modes = modes.data();
    request.modeCount = static_cast<int>(modes.size());
    request.desktop = {static_cast<int>(settings.width), static_cast<int>(settings.height), settings.depth};
    platform::desktopMode(request.desktop);
    request.save = saveRecord;
    std::string path = settingsPath();
    request.settingsPath = path.c_str();
    std::string note = unreadNote();
    request.settingsNote = note.c_str();
    request.parentWindow = static_cast<std::uint32_t>(app.parentWindow);
    std::string helpPage = findHelpPage(platform::programFolder());
    request.helpPage = helpPage.c_str();
    if (run(&request) == configDialogFailed) {
        std::fprintf(stderr, "voidrift: %s\n", request.error);
        return 1;
    }
    return 0;
}
