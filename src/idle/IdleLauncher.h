// `voidrift --idle`: the long-running launcher. One event loop over the idle source's
// descriptor, logind's (for the session's Lock) and a signal descriptor; no threads and no
// timers.
#pragma once

#include <string>
#include <vector>

// The launcher's whole run; the process exit code.
int runIdleLauncher(const std::vector<std::string>& arguments);
