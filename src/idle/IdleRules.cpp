#include "idle/IdleRules.h"

#include <cerrno>
#include <cstdlib>

bool IdleRules::onIdle(const IdleConditions& conditions) {
    idle_ = true;
    if (showRunning_ || !activeSinceShow_ || conditions.inhibited || conditions.locked) return false;
    showRunning_ = true;
    activeSinceShow_ = false;
    return true;
}

void IdleRules::onActive() {
    activeSinceShow_ = true;
    idle_ = false;
}

bool IdleRules::onShowEnded(bool cleanly) {
    showRunning_ = false;
    bool idleAgain = idle_ && activeSinceShow_;
    if (cleanly) activeSinceShow_ = true;
    return idleAgain;
}

bool blockListHas(const std::string& list, const std::string& what) {
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(':', start);
        if (end == std::string::npos) end = list.size();
        if (list.compare(start, end - start, what) == 0) return true;
        start = end + 1;
    }
    return false;
}

IdleSourceKind chooseIdleSource(const SessionOffers& offers) {
    // The Wayland protocols come from the compositor itself and count inhibitors; GNOME
    // offers neither and has its own monitor; plain X11 has the server's timer.
    if (offers.extIdleNotify) return IdleSourceKind::ExtIdleNotify;
    if (offers.kdeIdle) return IdleSourceKind::KdeIdle;
    if (offers.mutterIdleMonitor) return IdleSourceKind::MutterIdleMonitor;
    if (offers.x11ScreenSaver) return IdleSourceKind::X11ScreenSaver;
    return IdleSourceKind::None;
}

const char* idleSourceName(IdleSourceKind kind) {
    switch (kind) {
        case IdleSourceKind::ExtIdleNotify: return "ext-idle-notify-v1";
        case IdleSourceKind::KdeIdle: return "org_kde_kwin_idle";
        case IdleSourceKind::MutterIdleMonitor: return "org.gnome.Mutter.IdleMonitor";
        case IdleSourceKind::X11ScreenSaver: return "MIT-SCREEN-SAVER";
        case IdleSourceKind::None: break;
    }
    return "none";
}

namespace {

bool parseSeconds(const std::string& text, int& seconds) {
    errno = 0;
    char* stop = nullptr;
    long value = std::strtol(text.c_str(), &stop, 10);
    if (text.empty() || *stop != '\0' || errno != 0 || value < 1 || value > 86400) return false;
    seconds = static_cast<int>(value);
    return true;
}

// "--name value" or "--name=value": the value, or false when there is none.
bool takeValue(const std::vector<std::string>& arguments, std::size_t& index, const std::string& name,
               std::string& value) {
    const std::string& argument = arguments[index];
    if (argument.compare(0, name.size() + 1, name + "=") == 0) {
        value = argument.substr(name.size() + 1);
        return true;
    }
    if (argument != name || index + 1 >= arguments.size()) return false;
    value = arguments[++index];
    return true;
}

}  // namespace

bool parseLauncherOptions(const std::vector<std::string>& arguments, LauncherOptions& options, std::string& error) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        std::string value;
        if (argument == "--idle" || argument == "--") continue;
        if (argument == "--verbose") {
            options.verbose = true;
        } else if (argument.rfind("--idle-seconds", 0) == 0) {
            if (!takeValue(arguments, i, "--idle-seconds", value) || !parseSeconds(value, options.idleSeconds)) {
                error = "--idle-seconds takes a number of seconds from 1 to 86400";
                return false;
            }
        } else if (argument.rfind("--autostart", 0) == 0) {
            if (!takeValue(arguments, i, "--autostart", value) || (value != "on" && value != "off")) {
                error = "--autostart takes on or off";
                return false;
            }
            options.autostart = value;
        } else if (argument.rfind("--program", 0) == 0 && takeValue(arguments, i, "--program", value)) {
            options.program = value;
        } else if (argument.rfind("--show-argument", 0) == 0 && takeValue(arguments, i, "--show-argument", value)) {
            options.showArguments.push_back(value);
        } else {
            error = "unknown option for --idle: " + argument;
            return false;
        }
    }
    return true;
}

std::string launcherLockPath(const char* runtimeDir, unsigned uid) {
    if (runtimeDir && *runtimeDir == '/') return std::string(runtimeDir) + "/voidrift-idle.lock";
    return "/tmp/voidrift-idle-" + std::to_string(uid) + ".lock";
}

std::string autostartEntry(const std::string& command) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Voidrift idle show\n"
           "Comment=Starts the Voidrift 3D Screensaver when the session is idle\n"
           "Exec=" + command + " --idle\n"
           "NoDisplay=true\n"
           "X-GNOME-Autostart-enabled=true\n";
}

std::string autostartPath(const char* configHome, const char* home) {
    std::string base;
    if (configHome && *configHome == '/') {
        base = configHome;
    } else if (home && *home) {
        base = std::string(home) + "/.config";
    } else {
        return "";
    }
    return base + "/autostart/voidrift-idle.desktop";
}
