// The full-screen saver run: start-up, loading animation, main loop and shut-down.
#pragma once

#include <cstdint>

#include "app/RunOptions.h"
#include "app/SaverApp.h"
#include "app/ShowParts.h"

// Returns the exit code: 0, or 1 when the recording folder, the window or the graphics
// could not be had, or a frame could not be recorded.
int runSaver(SaverApp& app, const ShowParts& parts, const RunOptions& options);

// The window-free steps, shared with runs that only simulate the show.
// Camera and scripts: the camera's first place, "env.txt", "worlds.txt", "dynamic.txt";
// a stop request skips the steps still to come.
void readShowScripts(const ShowParts& parts);
// The show's start after the loading animation: particle field on, scene clock at 0,
// the random opening and its scene, the galaxy opening skipped when Galaxy is off.
// A --scene choice replaces the random opening (the draws are still taken, so the
// random sequence after it is the same) and always plays.
void beginShow(const ShowParts& parts, const RunOptions& options);
// One frame's advance of the show: scene clock, camera and sequencer, the objects' update,
// look modes and eye point.
void advanceShow(const ShowParts& parts, double dt);
