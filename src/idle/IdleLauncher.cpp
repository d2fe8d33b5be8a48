#include "idle/IdleLauncher.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <filesystem>
#include <memory>

#include "idle/IdleRules.h"
#include "idle/MutterIdle.h"
#include "idle/SessionChecks.h"
#include "idle/SessionLock.h"
#include "idle/ShowChild.h"
#include "idle/WaylandIdle.h"
#include "idle/X11Idle.h"

namespace {

// Whichever adapter was chosen, kept alive for the run.
struct ChosenSource {
    std::unique_ptr<IdleSource> wayland;
    std::unique_ptr<IdleSource> mutter;
    std::unique_ptr<IdleSource> x11;
    IdleSource* source = nullptr;
    IdleSourceKind kind = IdleSourceKind::None;
};

bool hasVariable(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

enum class Choice { Watching, DaemonOwnsDisplay, Nothing };

// The session's offers, then the strongest one, started; a message when the session
// offers none, or when a screensaver daemon owns the X display.
Choice chooseSource(ChosenSource& chosen, int seconds) {
    SessionOffers offers;
    if (hasVariable("WAYLAND_DISPLAY")) chosen.wayland = connectWayland(offers);
    if (!offers.extIdleNotify && !offers.kdeIdle) {
        chosen.wayland.reset();
        chosen.mutter = connectMutterIdle();
        offers.mutterIdleMonitor = chosen.mutter != nullptr;
    }
    if (!offers.extIdleNotify && !offers.kdeIdle && !offers.mutterIdleMonitor && hasVariable("DISPLAY")) {
        chosen.x11 = connectX11();
        if (chosen.x11) {
            std::string daemon = screenSaverDaemon(*chosen.x11);
            if (!daemon.empty()) {
                std::fprintf(stderr, "voidrift: %s runs on this display and starts the show itself; "
                                     "the idle launcher stays out\n", daemon.c_str());
                return Choice::DaemonOwnsDisplay;
            }
            offers.x11ScreenSaver = true;
        }
    }
    chosen.kind = chooseIdleSource(offers);
    switch (chosen.kind) {
        case IdleSourceKind::ExtIdleNotify:
        case IdleSourceKind::KdeIdle:
            if (!watchWaylandIdle(*chosen.wayland, chosen.kind, seconds)) break;
            chosen.source = chosen.wayland.get();
            return Choice::Watching;
        case IdleSourceKind::MutterIdleMonitor:
            if (!watchMutterIdle(*chosen.mutter, seconds)) break;
            chosen.source = chosen.mutter.get();
            return Choice::Watching;
        case IdleSourceKind::X11ScreenSaver:
            if (!watchX11Idle(*chosen.x11, seconds)) break;
            chosen.source = chosen.x11.get();
            return Choice::Watching;
        case IdleSourceKind::None: break;
    }
    std::fprintf(stderr, "voidrift: this session tells no one when it is idle (no ext-idle-notify-v1 or "
                         "org_kde_kwin_idle, no GNOME idle monitor, no X display); nothing to do\n");
    return Choice::Nothing;
}

// Held for the launcher's life; the system lets go of it when the process ends.
bool takeSessionLock() {
    std::string path = launcherLockPath(std::getenv("XDG_RUNTIME_DIR"), getuid());
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        std::fprintf(stderr, "voidrift: cannot open %s: %s\n", path.c_str(), std::strerror(errno));
        return false;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        std::fprintf(stderr, "voidrift: an idle launcher already runs in this session\n");
        close(fd);
        return false;
    }
    return true;
}

int switchAutostart(const LauncherOptions& options) {
    std::string path = autostartPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    if (path.empty()) {
        std::fputs("voidrift: no HOME, so no autostart folder\n", stderr);
        return 1;
    }
    std::error_code error;
    if (options.autostart == "off") {
        std::filesystem::remove(path, error);
        if (error) std::fprintf(stderr, "voidrift: cannot remove %s: %s\n", path.c_str(), error.message().c_str());
        return error ? 1 : 0;
    }
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    std::ofstream out(path, std::ios::trunc);
    out << autostartEntry(options.program.empty() ? "voidrift" : options.program);
    out.close();
    if (!out) {
        std::fprintf(stderr, "voidrift: cannot write %s\n", path.c_str());
        return 1;
    }
    std::printf("%s\n", path.c_str());
    return 0;
}

class Loop {
public:
    Loop(const LauncherOptions& options, IdleSource& source, IdleSource* lock, int signals, const sigset_t& childMask)
        : options_(options), source_(source), lock_(lock), signals_(signals), show_(childMask) {}

    // Until a signal ends the launcher (0) or the session goes away (0 too: nothing failed).
    int run() {
        for (;;) {
            pollfd fds[3] = {{signals_, POLLIN, 0},
                             {source_.descriptor(), source_.pollEvents(), 0},
                             {lock_ ? lock_->descriptor() : -1, lock_ ? lock_->pollEvents() : short(0), 0}};
            bool waiting = source_.hasEdges() || (lock_ && lock_->hasEdges());
            if (poll(fds, 3, waiting ? 0 : -1) < 0) {
                if (errno == EINTR) continue;
                return endRun(1);
            }
            if ((fds[0].revents & POLLIN) && !readSignals()) return endRun(0);
            // Every poll is followed by a dispatch, even with nothing to read: a source
            // may have prepared a read for this poll that must be finished or given up.
            if (!source_.dispatch(fds[1].revents)) {
                note("the session has ended");
                return endRun(0);
            }
            if (lock_) {
                lock_->dispatch(fds[2].revents);
                for (IdleEdge edge : lock_->takeEdges()) onEdge(edge);
            }
            for (IdleEdge edge : source_.takeEdges()) onEdge(edge);
        }
    }

private:
    void note(const char* text) {
        if (options_.verbose) std::fprintf(stderr, "voidrift: %s\n", text);
    }

    void onEdge(IdleEdge edge) {
        if (edge == IdleEdge::Active) {
            rules_.onActive();
            return;
        }
        // The lock screen always wins: the show makes way at once, and waits for the user
        // (no show starts while the session is locked).
        if (edge == IdleEdge::Locked) {
            if (!rules_.showRunning()) return;
            note("the session is locking: ending the show");
            show_.stop(5);
            rules_.onShowEnded(false);
            return;
        }
        note("the session is idle");
        if (!rules_.onIdle(readSessionConditions())) return;
        note("starting the show");
        if (!show_.start(options_.program, options_.showArguments)) rules_.onShowEnded(false);
    }

    // False when a signal asks the launcher to end.
    bool readSignals() {
        signalfd_siginfo info;
        while (read(signals_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
            if (info.ssi_signo != SIGCHLD) return false;
            if (!show_.reap()) continue;
            note("the show has ended");
            if (rules_.onShowEnded(show_.endedCleanly())) onEdge(IdleEdge::Idle);
        }
        return true;
    }

    int endRun(int code) {
        show_.stop(5);
        return code;
    }

    const LauncherOptions& options_;
    IdleSource& source_;
    IdleSource* lock_;
    int signals_;
    ShowChild show_;
    IdleRules rules_;
};

}  // namespace

int runIdleLauncher(const std::vector<std::string>& arguments) {
    LauncherOptions options;
    std::string error;
    if (!parseLauncherOptions(arguments, options, error)) {
        std::fprintf(stderr, "voidrift: %s\n", error.c_str());
        return 2;
    }
    if (!options.autostart.empty()) return switchAutostart(options);
    if (options.program.empty()) {
        std::fputs("voidrift: the idle launcher needs the show's program (--program PATH)\n", stderr);
        return 2;
    }
    if (!takeSessionLock()) return 1;
    // Signals arrive as reads: the show's end, and the requests to stop.
    sigset_t handled, previous;
    sigemptyset(&handled);
    for (int signal : {SIGCHLD, SIGTERM, SIGINT, SIGHUP}) sigaddset(&handled, signal);
    sigprocmask(SIG_BLOCK, &handled, &previous);
    int signals = signalfd(-1, &handled, SFD_NONBLOCK | SFD_CLOEXEC);
    if (signals < 0) return 1;
    ChosenSource chosen;
    // A daemon that does the job is no failure: the launcher just has nothing to do.
    Choice choice = chooseSource(chosen, options.idleSeconds);
    if (choice != Choice::Watching) return choice == Choice::DaemonOwnsDisplay ? 0 : 1;
    if (options.verbose) {
        std::fprintf(stderr, "voidrift: watching %s for %d s of idleness\n", idleSourceName(chosen.kind),
                     options.idleSeconds);
    }
    std::unique_ptr<IdleSource> lock = watchSessionLock();
    Loop loop(options, *chosen.source, lock.get(), signals, previous);
    int code = loop.run();
    close(signals);
    return code;
}
