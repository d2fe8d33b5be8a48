// Black top-most windows over every monitor the full-screen show does not use, so no
// desktop content stays visible on a computer with several monitors.
#pragma once

#include <windows.h>

#include <vector>

// The monitors (virtual-screen rectangles) that share no pixel with the show's window.
std::vector<RECT> monitorsBesideShow(const std::vector<RECT>& monitors, const RECT& show);

// Covers the monitors beside `show`; the covers stay until removeMonitorCovers.
void coverOtherMonitors(HINSTANCE instance, const RECT& show);
void removeMonitorCovers();
