/* Prints what Windows reports of the display: the current mode and a checksum of the
   gamma ramp, so a test can compare them before, during and after a run. */
#include <windows.h>

#include <stdio.h>

int main(void) {
    DEVMODEA mode;
    WORD ramp[3][256];
    HDC screen = GetDC(NULL);
    ZeroMemory(&mode, sizeof mode);
    mode.dmSize = sizeof mode;
    if (EnumDisplaySettingsA(NULL, ENUM_CURRENT_SETTINGS, &mode)) {
        printf("mode %lux%lux%lu\n", mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel);
    } else {
        printf("mode unknown\n");
    }
    if (GetDeviceGammaRamp(screen, ramp)) {
        unsigned long sum = 0;
        for (int channel = 0; channel < 3; ++channel) {
            for (int i = 0; i < 256; ++i) sum = sum * 31u + ramp[channel][i];
        }
        printf("gamma %08lx\n", sum);
    } else {
        printf("gamma unknown\n");
    }
    ReleaseDC(NULL, screen);
    return 0;
}
