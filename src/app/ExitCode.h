// The exit code the Windows program hands back to whoever started it.
#pragma once

#include <string>
#include <vector>

// True when the arguments (argv, program first) ask for a run for a machine: one of the
// unattended options (--record, --frames, --benchmark, --check-data, --simulate), or an
// option that cannot be read. Nobody watches such a run.
bool runsForMachine(const std::vector<std::string>& arguments);

// Windows expects 0 from a screensaver whatever happened in its modes (/s, /c, /p, no
// switch), so they report 0; runs for a machine report the run's code as on Linux: 2 for
// a bad option, 1 when the run could not do its work.
int windowsExitCode(const std::vector<std::string>& arguments, int runCode);
