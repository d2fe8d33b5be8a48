#include "app/StopSignals.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t requests = 0;
const int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction previous[3];
bool installed = false;

void onStopSignal(int number) {
    requests = requests + 1;
    if (requests > 1) {
        std::signal(number, SIG_DFL);
        std::raise(number);
    }
}

}  // namespace

void installStopSignals() {
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

bool stopRequested() { return requests != 0; }

void clearStopRequest() { requests = 0; }
