// SIGINT, SIGTERM and SIGHUP during a saver run: the first one ends the run the ordinary
// way, so the display mode and the gamma ramp are put back; a second one kills at once.
#pragma once

void installStopSignals();
void removeStopSignals();
bool stopRequested();
// Tests: forget a request that ended an earlier run.
void clearStopRequest();
