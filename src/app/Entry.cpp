#include "app/Entry.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/CheckData.h"
#include "app/CommandLine.h"
#include "app/ConfigureRun.h"
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

const char kProgramCaption[] = "Voidrift 3D Screensaver";

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

// The archive is opened by its bare name: without it in the working folder there is no show.
bool dataArchiveHere() {
    std::error_code error;
    if (std::filesystem::is_regular_file("data.ssd", error)) return true;
    std::string folder = std::filesystem::current_path(error).string();
    std::string text = "Cannot find data.ssd in \"" + folder +
                       "\".\nPut data.ssd beside the screensaver, or name its folder in the \"Path\" setting.";
    showMessage(text.c_str(), kProgramCaption);
    return false;
}

void enterDataFolder(const std::string& folder) {
    if (folder.empty()) return;
    std::error_code ignored;  // a folder that cannot be entered changes nothing
    std::filesystem::current_path(folder, ignored);
}

// The saver run needs video; the dialog and the preview need it only where there is a
// display, for the desktop mode and the message box.
bool startVideo(RunMode mode, const RunOptions& options) {
    if (mode == saver || mode == saverTest) return platform::initialize(wantsOffscreen(options));
    return platform::displayAvailable() && platform::initialize(false);
}

// The process exit code of the mode.
int runMode(SaverApp& app, const RunOptions& options, bool video, const EntryContext& context) {
    switch (app.mode) {
        case saver:
        case saverTest:
            if (!video) {
                std::fprintf(stderr, "voidrift: no display here; try --record DIR --frames N\n");
                return 0;
            }
            if (context.requireDataArchive && !dataArchiveHere()) return 0;
            runSaver(app, realShowParts(), options);
            return 0;
        case configure: return runConfigureDialog(app, video);
        case preview: return runPreviewMode(app, video);
    }
    return 0;
}

}  // namespace

std::string chooseDataFolder(const char* pathSetting, const std::string& fallback) {
    if (pathSetting && pathSetting[0] != '\0') return pathSetting;
    return fallback;
}

int voidriftMain(EntryContext context) {
    std::vector<std::string>& arguments = context.arguments;
    if (arguments.empty()) arguments.push_back("voidrift");
    std::size_t argumentCount = arguments.size();
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
    app.instance = context.instance;
    app.showCommand = context.showCommand;
    // The system's own line while it still says what the switches are.
    bool rawLineHolds = !context.rawLine.empty() && arguments.size() == argumentCount;
    std::string line = rawLineHolds ? context.rawLine : rawCommandLine(arguments);
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
    enterDataFolder(chooseDataFolder(settings.path, context.programFolder));
    // Runs over the data alone open no window; their messages go to stderr.
    if (dataRun) return options.checkData ? runCheckData(stdout) : runSimulation(options, stdout);
    // Nobody watches an unattended run: its messages go to stderr, never into a waiting box.
    setMessageSink(options.unattended() ? nullptr : showPlatformMessage);
    int exitCode = runMode(app, options, video, context);
    setMessageSink(nullptr);
    platform::shutdown();
    return exitCode;
}

int voidriftMain(int argc, char** argv) {
    EntryContext context;
    context.arguments.assign(argv, argv + argc);
    return voidriftMain(std::move(context));
}
