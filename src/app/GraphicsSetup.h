// Display mode, the OpenGL state every later drawing relies on, and the gamma ramp.
#pragma once

#include <cstdint>

struct LetterboxRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The 3D view: the middle three quarters of the screen height.
LetterboxRect letterbox(std::uint32_t width, std::uint32_t height);
// 1 for a 32-bit display, 4 otherwise: the near plane moves out where depth is scarce.
float depthScale(int depthBits);

struct FrustumPlanes {
    double left, right, bottom, top, nearPlane, farPlane;
};
FrustumPlanes viewFrustum(int depthBits);

// 1.5 - Gamma / 100 in single precision, with Gamma held to 0..100.
float gammaExponent(int gamma);
// Entry i = trunc((i / 256) ^ exponent * 65536), held to 16 bits.
void gammaTable(double exponent, std::uint16_t table[256]);

// Switches to the mode of the Width, Height and Depth settings and hides the cursor.
void setDisplayMode();
// The viewport of the letterbox for the Width and Height settings (again after a resize).
void applyLetterboxViewport();
// Every GL state of the run; false (after the message) when multitexturing is missing.
bool initGraphics();
// Installs the three exponents' tables; remembers the display's ramp first, once per run.
bool setGammaRamp(float red, float green, float blue);
// Puts back the ramp that was there before the first setGammaRamp; nothing if none was set.
void restoreGammaRamp();
