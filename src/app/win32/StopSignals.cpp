// Ctrl+C, Ctrl+Break and the console's close button during a saver run started from a
// console: the first one ends the run the ordinary way, so the display mode and the
// gamma ramp are put back; a second one lets the system end the process at once.
#include "app/StopSignals.h"

#include <windows.h>

#include <atomic>

namespace {

std::atomic<int> requests{0};
std::atomic<bool> selfStop{false};
bool installed = false;

BOOL WINAPI onConsoleControl(DWORD type) {
    if (requests.fetch_add(1) > 0) return FALSE;  // the second one: the default, which ends the process
    // Closing the console ends the process when this returns: give the run time to stop.
    if (type == CTRL_CLOSE_EVENT || type == CTRL_LOGOFF_EVENT || type == CTRL_SHUTDOWN_EVENT) Sleep(2000);
    return TRUE;
}

}  // namespace

void installStopSignals(bool) {
    if (installed) return;
    installed = SetConsoleCtrlHandler(onConsoleControl, TRUE) == TRUE;
}

void removeStopSignals() {
    if (!installed) return;
    SetConsoleCtrlHandler(onConsoleControl, FALSE);
    installed = false;
}

bool stopRequested() { return requests.load() != 0 || selfStop.load(); }

void requestStop() { selfStop.store(true); }

void clearStopRequest() {
    requests.store(0);
    selfStop.store(false);
}
