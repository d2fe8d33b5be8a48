// A run of the show without a window or GL: prints the route through the scene files.
#pragma once

#include <cstdio>

#include "app/RunOptions.h"

// Frame time of a simulation without --fixed-dt.
constexpr double kSimulationDt = 0.02;

// Runs the real start-up choice and main-loop sequencing for options.simulateSeconds of
// main-loop time, one fixed frame time per frame, with texture and mesh loading off.
// Prints "t=<s> world=<name> scene=<member>" to `out` each time a scene file is read.
// Reads data.ssd in the working directory. Returns the exit status: 0, or 2 when the step
// is too small for the time.
int runSimulation(const RunOptions& options, std::FILE* out);
