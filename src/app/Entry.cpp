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
#include "app/DataFolder.h"
#include "app/PreviewRun.h"
#include "app/RunOptions.h"
#include "app/SaverApp.h"
#include "app/SaverRun.h"
#include "app/SettingsStore.h"
#include "app/ShowParts.h"
#include "app/Simulate.h"
#include "app/StartChecks.h"
#include "app/StartupTimes.h"
#include "archive/Messages.h"
#include "platform/Platform.h"
#include "script/Settings.h"

namespace {

void showPlatformMessage(const char* text, const char* caption) { platform::messageBox(text, caption); }

const char kNoDisplay[] =
    "voidrift: no display found; to record the show offscreen instead: voidrift --record DIR --frames N\n";

bool videoDriverNamed() {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    return driver && *driver;
}

// Unattended runs go offscreen when there is no display to show them on.
bool wantsOffscreen(const RunOptions& options) {
    return options.unattended() && !options.embedded() && !videoDriverNamed() && !platform::displayAvailable();
}

// Only runs for a machine may go offscreen by themselves: a viewer's run there would go
// on unseen for ever. A driver named in SDL_VIDEODRIVER is the user's own choice.
bool canShowHere(const RunOptions& options, bool video) {
    return video && (options.unattended() || !platform::isOffscreen() || videoDriverNamed());
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
            return runSaver(app, realShowParts(), options);
        case configure: return runConfigureDialog(app, video);
        case preview: return runPreviewMode(app, video);
    }
    return 0;
}

}  // namespace

int voidriftMain(EntryContext context) {
    startupMark("entry");
    std::vector<std::string>& arguments = context.arguments;
    if (arguments.empty()) arguments.push_back("voidrift");
    std::size_t argumentCount = arguments.size();
    const std::vector<std::string> given = arguments;
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
    // The other renderer is its own program beside this one, given the same arguments.
    if (!options.renderer.empty() && options.renderer != platform::rendererName()) {
        platform::execSibling(("voidrift-" + options.renderer).c_str(), given);
        std::fprintf(stderr, "voidrift: the %s renderer is not available\n", options.renderer.c_str());
        return 1;
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
    bool saverMode = app.mode == saver || app.mode == saverTest;
    bool video = !dataRun && startVideo(app.mode, options);
    if (saverMode && !dataRun && !canShowHere(options, video)) {
        if (video || !options.unattended()) std::fputs(kNoDisplay, stderr);
        platform::shutdown();
        return 1;
    }
    loadSettings();
    startupMark("settings");
    applySettingOverrides(options, settings);
    // Every mode that can see the desktop runs in its mode, so the dialog and the show agree.
    if (settings.useDesktop && video) {
        useDesktopMode();
    } else if (saverMode && video && !options.embedded() && options.width == 0 &&
               !usableWindowSize(settings.width, settings.height)) {
        // A hack takes its window's size; any other run would open a window nobody can use.
        std::fprintf(stderr, "voidrift: the stored mode %u x %u is not usable; the desktop mode is used\n",
                     settings.width, settings.height);
        useDesktopMode();
    }
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
    // Nothing else is tried when the data is not where it was looked for: another folder's
    // archive would be a show nobody asked for.
    DataFolderSearch data = findDataFolder(dataFolderCandidates(options.dataPath, settings.path, platform::programFolder()));
    std::string dataMissing = data.problem.empty() ? enterDataFolder(data.folder) : data.problem;
    // Runs over the data alone open no window; their messages go to stderr.
    if (options.checkData && !dataMissing.empty()) std::printf("%s\n", dataMissing.c_str());
    if (options.checkData) return dataMissing.empty() ? runCheckData(stdout) : 1;
    // A damaged archive is said once; the saver run still shows what it can, as on screen,
    // while a run for a machine fails. Without any archive there is nothing to show.
    std::string problem = saverMode || dataRun ? (dataMissing.empty() ? archiveProblem() : dataMissing) : "";
    startupMark("archive check");
    bool problemEndsRun = context.archiveProblemEndsRun || !dataMissing.empty();
    if (!problem.empty()) std::fprintf(stderr, "voidrift: %s\n", problem.c_str());
    if (!problem.empty() && problemEndsRun && !dataRun && !options.unattended()) {
        std::string text = problem + ".\nPut data.ssd beside the screensaver, or name its folder in the \"Path\" setting.";
        platform::messageBox(text.c_str(), "Voidrift 3D Screensaver");
    }
    if (!problem.empty() && (dataRun || options.unattended() || problemEndsRun)) {
        platform::shutdown();
        return 1;
    }
    if (dataRun) return runSimulation(options, stdout);
    // Nobody watches an unattended run: its messages go to stderr, never into a waiting box.
    setMessageSink(options.unattended() ? nullptr : showPlatformMessage);
    int exitCode = runMode(app, options, video);
    setMessageSink(nullptr);
    platform::shutdown();
    startupMark("end");
    return exitCode;
}

int voidriftMain(int argc, char** argv) {
    EntryContext context;
    context.arguments.assign(argv, argv + argc);
    return voidriftMain(std::move(context));
}
