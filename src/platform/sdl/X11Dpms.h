// The monitor's power state through the X11 DPMS extension, on a connection of our own.
#pragma once

namespace platform::x11 {

// True while DPMS has the monitor in standby, suspend or off; false when it is on, when
// DPMS is disabled or missing, or there is no X display.
bool monitorAsleep();
void closeDpms();

}  // namespace platform::x11
