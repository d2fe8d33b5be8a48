// Dots per inch as a per-monitor aware program sees them: 96 at 100 %, 192 at 200 %.
#pragma once

#include <windows.h>

// The window's monitor's DPI (Windows 10 1607 and later), else the system's; 96 without either.
int windowDpi(HWND window);
// A length in the window's pixels as it would be at 100 %, and back.
int logicalPixels(int pixels, int dpi);
int devicePixels(int logical, int dpi);
