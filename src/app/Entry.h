// The program's entry: long options, screensaver switches, settings, working folder, mode.
#pragma once

// argv as main receives it. Returns the process exit code: 0, or 2 for a bad long option.
int voidriftMain(int argc, char** argv);
