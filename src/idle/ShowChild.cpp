#include "idle/ShowChild.h"

#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

bool ShowChild::start(const std::string& program, const std::vector<std::string>& extraArguments) {
    if (running()) return false;
    std::vector<std::string> words{program, "/s"};
    words.insert(words.end(), extraArguments.begin(), extraArguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid < 0) {
        std::fprintf(stderr, "voidrift: cannot start the show: %s\n", std::strerror(errno));
        return false;
    }
    if (pid == 0) {
        sigprocmask(SIG_SETMASK, &signals_, nullptr);
        execv(program.c_str(), argv.data());
        std::fprintf(stderr, "voidrift: cannot run %s: %s\n", program.c_str(), std::strerror(errno));
        _exit(127);
    }
    pid_ = pid;
    return true;
}

bool ShowChild::reap() {
    if (!running()) return false;
    int status = 0;
    pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done != pid_) return false;
    pid_ = -1;
    cleanExit_ = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return true;
}

void ShowChild::stop(int graceSeconds) {
    if (!running()) return;
    kill(pid_, SIGTERM);
    for (int tenth = 0; tenth < graceSeconds * 10; ++tenth) {
        if (reap()) return;
        timespec pause{0, 100000000};
        nanosleep(&pause, nullptr);
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}
