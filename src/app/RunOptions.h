// The Linux build's own long options: for offscreen runs, tests and benchmarks, and those
// of a hack run by XScreenSaver (its single-dash forms -root, -window-id and -fps too).
// They are taken out of the argument list before the screensaver switches are read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RunOptions {
    std::string recordDir;       // --record DIR: every frame as DIR/frame-00000.png
    long frames = -1;            // --frames N: stop after N frames (loading frames count); -1: no limit
    double fixedDt = 0;          // --fixed-dt S (> 0): every frame advances by S seconds; 0: the counter
    bool hasSeed = false;        // --seed N: seed instead of the counter
    std::uint32_t seed = 0;
    int width = 0;               // --size WxH; 0: the settings' mode
    int height = 0;
    bool noLoading = false;      // --no-loading: skip the loading animation
    double benchmarkSeconds = 0;  // --benchmark S: run S seconds, print the frame rate
    double simulateSeconds = 0;  // --simulate S
    bool checkData = false;      // --check-data
    bool help = false;           // --help
    bool version = false;        // --version

    // Hack mode: the show drawn into a window that the screensaver daemon or a settings
    // preview owns; the daemon owns the display and the input.
    std::uint64_t windowId = 0;  // --window-id ID (decimal or 0x-hex), else XSCREENSAVER_WINDOW
    bool rootWindow = false;     // --root: the root window, unless the daemon names its own

    // This run's overrides of the settings file; -1: as the file says.
    bool showFps = false;        // -fps
    int timeScale = -1;          // --speed normal|fast|fastest: 0, 1, 2
    int music = -1;              // --music 1, --no-music 0
    int volume = -1;             // --volume 1..100
    bool noClock = false;        // --no-clock
    bool noGalaxy = false;       // --no-galaxy
    int maxFps = -1;             // --max-fps N; 0: no cap
    std::string dataPath;        // --data PATH: the folder holding data.ssd
    // --scene WORLD:FILE: open with that scene file of that world instead of the random
    // opening (content authors and picture tests reach any world at once).
    std::string sceneWorld;
    std::string sceneFile;
    // --renderer gl|gles: GL 1.1, or the same drawing through the GLES layer (voidrift-gles);
    // empty: the renderer this program was built with.
    std::string renderer;

    // A run for a machine or a measurement rather than a viewer: windowed or offscreen,
    // no display mode change.
    bool unattended() const { return !recordDir.empty() || frames >= 0 || benchmarkSeconds > 0; }
    bool embedded() const { return windowId != 0 || rootWindow; }
};

// Removes the long options from `arguments` (program name first). False, with a message
// in `error`, for an unknown option or a bad value.
bool extractLongOptions(std::vector<std::string>& arguments, RunOptions& options, std::string& error);

// A window id as X11 tools print it: decimal or 0x-hex, not 0. False for anything else.
bool parseWindowId(const std::string& text, std::uint64_t& id);
// XSCREENSAVER_WINDOW (null when unset) names the daemon's window: hack mode, unless
// --window-id already named one.
void adoptDaemonWindow(RunOptions& options, const char* daemonWindow);

struct Settings;
// The options' overrides of the file's settings, for this run only. In hack mode the
// daemon owns the display: the gamma ramp is left alone whatever the file says.
void applySettingOverrides(const RunOptions& options, Settings& record);
// Frames a second at most, 0 for no cap: --max-fps, else "MaxFps" when set (not negative),
// else 60 in hack mode (a saver left on for hours should spare the fans) and none in /s,
// where VSync is the cap.
int frameRateCap(const RunOptions& options, int maxFpsSetting);

// One line per option, for --help and the usage message.
extern const char kOptionHelp[];
