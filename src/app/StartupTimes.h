// Where start-up time goes: with VOIDRIFT_STARTUP_TIMES set, each stage on the way to the
// first frame prints "start-up: STAGE MS" on stderr, in milliseconds since the process
// was created (bench/windows_vs_linux.sh sets it side by side with the Linux build).
#pragma once

void startupMark(const char* stage);
