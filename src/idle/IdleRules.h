// The idle launcher's decisions, free of any protocol or bus: when the show starts, what
// holds it off, which of the session's idle sources to use, the launcher's options, its
// lock and its autostart entry. The adapters (WaylandIdle, MutterIdle, X11Idle,
// SessionChecks, ShowChild) only report what happened and carry out what these decide.
#pragma once

#include <string>
#include <vector>

// What the session says at the moment the idle time is reached.
struct IdleConditions {
    bool inhibited = false;  // an idle inhibitor is held (logind, the session manager)
    bool locked = false;     // the desktop's own lock screen is up: it always wins
};

// One show at a time, and no show twice in one idle period: a show that failed (it could
// not start, or crashed) is not started again until the user has been active and idle
// again. A show that ended cleanly was ended by the user (or on purpose from outside),
// even where the compositor kept that activity to itself (an inhibited one does).
class IdleRules {
public:
    // The session has been idle for the launcher's time: true when the show starts now.
    bool onIdle(const IdleConditions& conditions);
    // The user was active again (the show may still run: its own input ends it).
    void onActive();
    // True when the session went idle again, after activity, while the show was still
    // running (it ends some time after the key that ends it): the caller then offers that
    // idle edge again through onIdle. `cleanly`: the show exited with status 0.
    bool onShowEnded(bool cleanly);
    bool showRunning() const { return showRunning_; }

private:
    bool showRunning_ = false;
    bool activeSinceShow_ = true;
    bool idle_ = false;
};

// logind's "BlockInhibited" is a colon-separated list such as "sleep:idle".
bool blockListHas(const std::string& list, const std::string& what);

// The idle sources a session offers, strongest first.
enum class IdleSourceKind { None, ExtIdleNotify, KdeIdle, MutterIdleMonitor, X11ScreenSaver };
struct SessionOffers {
    bool extIdleNotify = false;    // Wayland global ext_idle_notifier_v1
    bool kdeIdle = false;          // Wayland global org_kde_kwin_idle
    bool mutterIdleMonitor = false;  // org.gnome.Mutter.IdleMonitor on the session bus
    bool x11ScreenSaver = false;   // an X display with the MIT-SCREEN-SAVER extension
};
IdleSourceKind chooseIdleSource(const SessionOffers& offers);
const char* idleSourceName(IdleSourceKind kind);

struct LauncherOptions {
    std::string program;       // the show's program, started with "/s"
    std::vector<std::string> showArguments;  // more arguments for the show (after "/s")
    int idleSeconds = 600;
    bool verbose = false;
    std::string autostart;     // "on" or "off": write or remove the autostart entry, then end
};
// The launcher's own command line (without the program name). False, with a message in
// `error`, for an option it does not know or a bad value.
bool parseLauncherOptions(const std::vector<std::string>& arguments, LauncherOptions& options, std::string& error);

// Where the one-per-session lock lives: the session's runtime folder, else /tmp by user id.
std::string launcherLockPath(const char* runtimeDir, unsigned uid);

// The XDG autostart entry that starts `command` at login, and where it goes.
std::string autostartEntry(const std::string& command);
std::string autostartPath(const char* configHome, const char* home);
