// SIGINT, SIGTERM and SIGHUP during a saver run: the first one ends the run the ordinary
// way, so the display mode and the gamma ramp are put back; a second one kills at once.
#pragma once

// A run that changed nothing of the display (a hack: the daemon owns it) ends at the
// first signal, even in the middle of its start-up, which the daemon expects to be quick.
void installStopSignals(bool nothingToRestore = false);
void removeStopSignals();
bool stopRequested();
// A stop asked for by the run itself (a failure it cannot show), heeded as a signal is.
void requestStop();
// Tests: forget a request that ended an earlier run.
void clearStopRequest();
