#include "app/StopSignals.h"

#include <unistd.h>

#include <csignal>

#include "platform/Platform.h"

namespace {

volatile std::sig_atomic_t requests = 0;
volatile std::sig_atomic_t exitAtOnce = 0;
volatile std::sig_atomic_t selfStop = 0;
const int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction previous[3];
bool installed = false;

void onStopSignal(int number) {
    // A box left on the screen would outlive the run it speaks for.
    platform::endMessageBox();
    if (exitAtOnce) _exit(0);
    requests = requests + 1;
    if (requests > 1) {
        std::signal(number, SIG_DFL);
        std::raise(number);
    }
}

}  // namespace

void installStopSignals(bool nothingToRestore) {
    exitAtOnce = nothingToRestore ? 1 : 0;
    if (installed) return;
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &action, &previous[i]);
    installed = true;
}

void removeStopSignals() {
    if (!installed) return;
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &previous[i], nullptr);
    installed = false;
}

bool stopRequested() { return requests != 0 || selfStop != 0; }

// Not counted with the signals: a signal after it still ends the run the ordinary way.
void requestStop() { selfStop = 1; }

void clearStopRequest() {
    requests = 0;
    selfStop = 0;
}
