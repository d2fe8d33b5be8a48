// The program's entry: long options, screensaver switches, settings, working folder, mode.
#pragma once

// argv as main receives it. Returns the process exit code: 0; 1 when the run failed (no
// display for a viewer, an archive that cannot serve a run for a machine, frames that
// could not be recorded, a data check that found faults, a dialog or preview that cannot
// be shown); 2 for a bad option.
int voidriftMain(int argc, char** argv);
