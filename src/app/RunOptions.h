// The Linux build's own long options, for offscreen runs, tests and benchmarks. They are
// taken out of the argument list before the screensaver switches are read.
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

    // A run for a machine or a measurement rather than a viewer: windowed or offscreen,
    // no display mode change.
    bool unattended() const { return !recordDir.empty() || frames >= 0 || benchmarkSeconds > 0; }
};

// Removes the long options from `arguments` (program name first). False, with a message
// in `error`, for an unknown option or a bad value.
bool extractLongOptions(std::vector<std::string>& arguments, RunOptions& options, std::string& error);
