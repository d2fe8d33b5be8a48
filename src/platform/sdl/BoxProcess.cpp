#include "platform/sdl/BoxProcess.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>

namespace platform::box {

namespace {

// The child reports its pid through this pipe: fork's result stays inside SDL.
volatile std::sig_atomic_t readEnd = -1;
int writeEnd = -1;
volatile std::sig_atomic_t child = 0;
pid_t parent = 0;

void inChild() {
    if (writeEnd < 0) return;
    pid_t self = getpid();
    ssize_t written = write(writeEnd, &self, sizeof self);
    (void)written;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The parent may have gone before the line above.
    if (getppid() != parent) _exit(1);
}

}  // namespace

void begin() {
    static bool hooked = pthread_atfork(nullptr, nullptr, inChild) == 0;
    int ends[2];
    if (!hooked || pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return;
    parent = getpid();
    child = 0;
    writeEnd = ends[1];
    readEnd = ends[0];
}

void end() {
    int reading = readEnd;
    readEnd = -1;
    child = 0;
    if (reading >= 0) close(reading);
    if (writeEnd >= 0) close(writeEnd);
    writeEnd = -1;
}

void kill() {
    int reading = readEnd;
    pid_t pid = 0;
    if (reading >= 0 && read(reading, &pid, sizeof pid) == static_cast<ssize_t>(sizeof pid) && pid > 0) child = pid;
    if (child > 0) ::kill(child, SIGKILL);
}

}  // namespace platform::box
