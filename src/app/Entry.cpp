#include "app/Entry.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/CheckData.h"
#include "app/CommandLine.h"
#include "app/ConfigureRun.h"
#include "app/DataFolder.h"
#include "app/PreviewRun.h"
#include "app/RunOptions.h"
#include "app/SaverApp.h"
#include "app/SaverRun.h"
#include "app/SettingsStore.h"
#include "app/ShowParts.h"
#include "app/Simulate.h"
#include "archive/Messages.h"
#include "platform/Platform.h"
#include "script/Settings.h"

namespace {

void showPlatformMessage(const char* text, const char* caption) { platform::messageBox(text, caption); }

// Unattended runs go offscreen when there is no display to show them on.
bool wantsOffscreen(const RunOptions& options) {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    return options.unattended() && !options.embedded() && !(driver && *driver) && !platform::displayAvailable();
}

void useDesktopMode() {
    platform::DisplayMode desktop;
    if (!platform::desktopMode(desktop)) return;
    settings.width = static_cast<std::uint32_t>(desktop.width);
    settings.height = static_cast<std::uint32_t>(desktop.height);
    settings.depth = desktop.bitsPerPixel;
}

// The saver run needs video; the dialog and the preview need it only where there is a
// display, for the desktop mode and the message box.
bool startVideo(RunMode mode, const RunOptions& options) {
    if (mode == saver || mode == saverTest) return platform::initialize(wantsOffscreen(options));
    return platform::displayAvailable() && platform::initialize(false);
}

// The process exit code of the mode.
int runMode(SaverApp& app, const RunOptions& options, bool video) {
    switch (app.mode) {
        case saver:
        case saverTest:
            if (!video) {
                std::fprintf(stderr, "voidrift: no display here; try --record DIR --frames N\n");
                return 0;
            }
            runSaver(app, realShowParts(), options);
            return 0;
        case configure: return runConfigureDialog(app, video);
        case preview: return runPreviewMode(app, video);
    }
    return 0;
}

}  // namespace

int voidriftMain(int argc, char** argv) {
    std::vector<std::string> arguments(argv, argv + argc);
    if (arguments.empty()) arguments.push_back("voidrift");
    RunOptions options;
    std::string error;
    if (!extractLongOptions(arguments, options, error)) {
        std::fprintf(stderr, "voidrift: %s\n%s", error.c_str(), kOptionHelp);
        return 2;
    }
    if (options.help || options.version) {
        if (options.help) std::fputs(kOptionHelp, stdout);
        if (options.version) std::printf("voidrift %s\n", VOIDRIFT_VERSION);
        return 0;
    }
    adoptDaemonWindow(options, std::getenv("XSCREENSAVER_WINDOW"));
    bool dataRun = options.simulateSeconds > 0 || options.checkData;
    SaverApp app;
    std::string line = rawCommandLine(arguments);
    app.mode = parseCommandLine(app, line.c_str());
    // A preview area wide enough for the show gets the live show instead of the picture.
    if (app.mode == preview) options.windowId = livePreviewWindow(app);
    // Recording, counted and measured runs, and hacks (XScreenSaver gives no switch), are
    // runs of the show whatever the switch.
    if ((options.unattended() || options.embedded()) && app.mode != saverTest) app.mode = saver;
    bool video = !dataRun && startVideo(app.mode, options);
    loadSettings();
    applySettingOverrides(options, settings);
    // Every mode that can see the desktop runs in its mode, so the dialog and the show agree.
    if (settings.useDesktop && video) useDesktopMode();
    if (options.width > 0) {
        settings.width = static_cast<std::uint32_t>(options.width);
        settings.height = static_cast<std::uint32_t>(options.height);
    }
    // A recording folder named on the command line is relative to where the program started.
    if (!options.recordDir.empty()) {
        std::error_code error;
        std::filesystem::path absolute = std::filesystem::absolute(options.recordDir, error);
        if (!error) options.recordDir = absolute.string();
    }
    std::string dataFolder =
        findDataFolder(dataFolderCandidates(options.dataPath, settings.path, platform::programFolder()));
    if (!dataFolder.empty()) {
        int ignored = chdir(dataFolder.c_str());  // a folder that cannot be entered changes nothing
        (void)ignored;
    }
    // Runs over the data alone open no window; their messages go to stderr.
    if (dataRun) return options.checkData ? runCheckData(stdout) : runSimulation(options, stdout);
    setMessageSink(showPlatformMessage);
    int exitCode = runMode(app, options, video);
    setMessageSink(nullptr);
    platform::shutdown();
    return exitCode;
}
