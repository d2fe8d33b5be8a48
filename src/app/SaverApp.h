// The application object: the run mode and the window the command line names.
#pragma once

#include <cstdint>

enum RunMode : std::int32_t {
    configure = 0,  // no switch, or "c": the configuration dialog
    preview = 1,    // "p": the preview window inside parentWindow
    saver = 2,      // "s" and every other letter: the saver run
    saverTest = 3,  // "t": the saver run, exactly as saver
};

class SaverApp {
public:
    virtual ~SaverApp() = default;

    RunMode mode = configure;
    void* instance = nullptr;
    std::int32_t parentWindow = 0;
    std::int32_t showCommand = 0;
};
