// The saver run's own process-wide state: input seen by the window, the run flag and the
// frame-rate window. Pure rules over it live in SaverInput.h.
#pragma once

#include <cstdint>

struct SaverState {
    bool keyDown[256] = {};  // entry 0: set by every key press, never cleared
    float mouseOffsetX = 0;
    float mouseOffsetY = 0;
    float mouseTravel = 0;  // cleared once a second by the frame-rate window
    bool running = false;
    float cameraSpeedFactor = 1;
    float sceneClock = 0;
    double dt = 0;
    std::uint32_t frameCount = 0;  // frames composed in the current rate window
    std::uint32_t shownFps = 0;    // frameCount of the last completed window
};

extern SaverState saverState;
