// The process-wide record of the user's settings. Plain data, read directly by every
// subsystem that needs a setting; the application loads and saves it (app/SettingsStore).
#pragma once

#include <cstdint>

struct Settings {
    // At most 254 characters; as UTF-8 (Windows reads them as UTF-16) up to 3 bytes each.
    static constexpr int kPathCapacity = 254 * 3 + 1;

    bool showClock = true;
    bool enableMusic = true;
    bool useDesktop = true;
    bool showFlame = false;
    bool defGamma = true;
    std::uint32_t width = 800;
    std::uint32_t height = 600;
    std::int32_t depth = 32;
    std::int32_t volume = 100;
    std::int32_t gamma = 50;
    std::uint32_t timeScale = 0;
    bool galaxy = false;
    bool showFps = false;
    bool vsync = false;
    bool mouseExit = false;
    std::int32_t maxFps = -1;  // frames a second at most; 0: no cap; negative: the run's own default
    std::uint32_t idleMinutes = 10;  // idle time before `voidrift --idle` starts the show (1 to 1440)
    char path[kPathCapacity] = {};
};

extern Settings settings;
