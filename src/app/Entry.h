// The program's entry: long options, screensaver switches, settings, working folder, mode.
#pragma once

// argv as main receives it. Returns the process exit code: 0; 1 when the dialog or the
// preview cannot be shown; 2 for a bad long option.
int voidriftMain(int argc, char** argv);
