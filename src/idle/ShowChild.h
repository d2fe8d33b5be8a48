// The show as a child process: our own program with "/s", in the launcher's environment
// and with its signals as they were before the launcher blocked them.
#pragma once

#include <signal.h>
#include <sys/types.h>

#include <string>
#include <vector>

class ShowChild {
public:
    // `signals` is the mask the child gets back before the program replaces it.
    explicit ShowChild(const sigset_t& signals) : signals_(signals) {}
    bool start(const std::string& program, const std::vector<std::string>& extraArguments);
    bool running() const { return pid_ > 0; }
    // Collects the show when it has ended (after SIGCHLD): true when it had.
    bool reap();
    // Whether the show last collected exited with status 0.
    bool endedCleanly() const { return cleanExit_; }
    // SIGTERM, then SIGKILL if it is still there after `graceSeconds`; always collected.
    void stop(int graceSeconds);

private:
    sigset_t signals_;
    pid_t pid_ = -1;
    bool cleanExit_ = false;
};
