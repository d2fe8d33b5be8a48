#include "app/RunOptions.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "script/Settings.h"

namespace {

// 64 bits whatever the platform: long has 32 on Windows, too few for a 32-bit unsigned seed.
bool parseLong(const std::string& text, long long low, long long high, long long& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    long long number = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || number < low || number > high) return false;
    value = number;
    return true;
}

bool parseFrames(const std::string& text, long& frames) {
    long long number = 0;
    if (!parseLong(text, 0, 1000000000, number)) return false;
    frames = static_cast<long>(number);
    return true;
}

bool parseSeconds(const std::string& text, double& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    double number = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0' || !(number >= 0) || number > 1e9) return false;
    value = number;
    return true;
}

bool parseInt(const std::string& text, int low, int high, int& value) {
    long long number = 0;
    if (!parseLong(text, low, high, number)) return false;
    value = static_cast<int>(number);
    return true;
}

bool parseSpeed(const std::string& text, int& timeScale) {
    const char* const names[] = {"normal", "fast", "fastest"};
    for (int i = 0; i < 3; ++i) {
        if (text == names[i]) {
            timeScale = i;
            return true;
        }
    }
    return false;
}

bool parseSize(const std::string& text, int& width, int& height) {
    std::size_t cross = text.find('x');
    long long w = 0;
    long long h = 0;
    if (cross == std::string::npos) return false;
    if (!parseLong(text.substr(0, cross), 1, 16384, w) || !parseLong(text.substr(cross + 1), 1, 16384, h)) return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

// WORLD:FILE, both parts non-empty.
bool parseScene(const std::string& text, RunOptions& options) {
    std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size()) return false;
    options.sceneWorld = text.substr(0, colon);
    options.sceneFile = text.substr(colon + 1);
    return true;
}

// One option and its value; false when the value does not parse.
using OptionHandler = bool (*)(const std::string& value, RunOptions& options);

struct LongOption {
    const char* name;
    bool takesValue;
    OptionHandler handle;
};

const LongOption kLongOptions[] = {
    {"--record", true, [](const std::string& v, RunOptions& o) { o.recordDir = v; return !v.empty(); }},
    {"--frames", true, [](const std::string& v, RunOptions& o) { return parseFrames(v, o.frames); }},
    {"--fixed-dt", true, [](const std::string& v, RunOptions& o) { return parseSeconds(v, o.fixedDt) && o.fixedDt > 0; }},
    {"--seed", true,
     [](const std::string& v, RunOptions& o) {
         long long seed = 0;
         if (!parseLong(v, 0, 4294967295LL, seed)) return false;
         o.seed = static_cast<std::uint32_t>(seed);
         o.hasSeed = true;
         return true;
     }},
    {"--size", true, [](const std::string& v, RunOptions& o) { return parseSize(v, o.width, o.height); }},
    {"--no-loading", false, [](const std::string&, RunOptions& o) { return o.noLoading = true; }},
    {"--benchmark", true,
     [](const std::string& v, RunOptions& o) { return parseSeconds(v, o.benchmarkSeconds) && o.benchmarkSeconds > 0; }},
    {"--simulate", true,
     [](const std::string& v, RunOptions& o) { return parseSeconds(v, o.simulateSeconds) && o.simulateSeconds > 0; }},
    {"--scene", true, parseScene},
    {"--renderer", true,
     [](const std::string& v, RunOptions& o) {
         o.renderer = v;
         return v == "gl" || v == "gles";
     }},
    {"--check-data", false, [](const std::string&, RunOptions& o) { return o.checkData = true; }},
    {"--help", false, [](const std::string&, RunOptions& o) { return o.help = true; }},
    {"--version", false, [](const std::string&, RunOptions& o) { return o.version = true; }},
    {"--window-id", true, [](const std::string& v, RunOptions& o) { return parseWindowId(v, o.windowId); }},
    {"--root", false, [](const std::string&, RunOptions& o) { return o.rootWindow = true; }},
    {"--fps", false, [](const std::string&, RunOptions& o) { return o.showFps = true; }},
    {"--speed", true, [](const std::string& v, RunOptions& o) { return parseSpeed(v, o.timeScale); }},
    {"--music", false, [](const std::string&, RunOptions& o) { return (o.music = 1) != 0; }},
    {"--no-music", false, [](const std::string&, RunOptions& o) { return (o.music = 0) == 0; }},
    {"--volume", true, [](const std::string& v, RunOptions& o) { return parseInt(v, 1, 100, o.volume); }},
    {"--no-clock", false, [](const std::string&, RunOptions& o) { return o.noClock = true; }},
    {"--no-galaxy", false, [](const std::string&, RunOptions& o) { return o.noGalaxy = true; }},
    {"--max-fps", true, [](const std::string& v, RunOptions& o) { return parseInt(v, 0, 1000, o.maxFps); }},
    {"--data", true, [](const std::string& v, RunOptions& o) { o.dataPath = v; return !v.empty(); }},
};

// XScreenSaver passes its standard options with one dash.
const char* const kSingleDashForms[] = {"-root", "-window-id", "-fps"};

// The long option an argument names, or null when it is no option of ours.
const LongOption* findOption(const std::string& name) {
    std::string longName = name;
    for (const char* form : kSingleDashForms) {
        if (name == form) longName = "-" + name;
    }
    for (const LongOption& option : kLongOptions) {
        if (longName == option.name) return &option;
    }
    return nullptr;
}

bool isSingleDashForm(const std::string& argument) {
    std::string name = argument.substr(0, argument.find('='));
    for (const char* form : kSingleDashForms) {
        if (name == form) return true;
    }
    return false;
}

}  // namespace

bool extractLongOptions(std::vector<std::string>& arguments, RunOptions& options, std::string& error) {
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (i == 0 || (argument.rfind("--", 0) != 0 && !isSingleDashForm(argument))) {
            rest.push_back(argument);
            continue;
        }
        std::size_t equals = argument.find('=');
        std::string name = argument.substr(0, equals);
        const LongOption* option = findOption(name);
        if (option) name = option->name;
        if (!option) {
            error = "unknown option " + name;
            return false;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = argument.substr(equals + 1);
        } else if (option->takesValue) {
            if (i + 1 >= arguments.size()) {
                error = name + " needs a value";
                return false;
            }
            value = arguments[++i];
        }
        if ((equals != std::string::npos && !option->takesValue) || !option->handle(value, options)) {
            error = "bad value for " + name + ": " + value;
            return false;
        }
    }
    arguments = rest;
    return true;
}

bool parseWindowId(const std::string& text, std::uint64_t& id) {
    bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    std::string digits = hex ? text.substr(2) : text;
    if (digits.empty() || digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") != std::string::npos) {
        return false;
    }
    errno = 0;
    unsigned long long number = std::strtoull(digits.c_str(), nullptr, hex ? 16 : 10);
    if (errno != 0 || number == 0) return false;
    id = number;
    return true;
}

void adoptDaemonWindow(RunOptions& options, const char* daemonWindow) {
    if (options.windowId != 0 || !daemonWindow || !*daemonWindow) return;
    std::uint64_t id = 0;
    if (parseWindowId(daemonWindow, id)) options.windowId = id;
}

void applySettingOverrides(const RunOptions& options, Settings& record) {
    if (options.showFps) record.showFps = true;
    if (options.timeScale >= 0) record.timeScale = static_cast<std::uint32_t>(options.timeScale);
    if (options.music >= 0) record.enableMusic = options.music == 1;
    if (options.volume >= 0) record.volume = options.volume;
    if (options.noClock) record.showClock = false;
    if (options.noGalaxy) record.galaxy = false;
    if (options.embedded()) record.defGamma = true;
}

int frameRateCap(const RunOptions& options, int maxFpsSetting) {
    if (options.maxFps >= 0) return options.maxFps;
    if (maxFpsSetting >= 0) return maxFpsSetting;
    return options.embedded() ? 60 : 0;
}

const char kOptionHelp[] =
    "usage: voidrift [/s | /c [HWND] | /p HWND] [options]\n"
    "  /s                   the full-screen show; /c the settings; /p HWND a preview\n"
    "Hack mode (XScreenSaver):\n"
    "  --root               draw into the root window, or the daemon's (XSCREENSAVER_WINDOW)\n"
    "  --window-id ID       draw into the X11 window ID (decimal or 0x-hex)\n"
    "  -fps                 show the frame rate\n"
    "  --speed SPEED        normal, fast or fastest\n"
    "  --music, --no-music  play the music or not\n"
    "  --volume N           music volume, 1 to 100\n"
    "  --no-clock           hide the clock\n"
    "  --no-galaxy          skip the opening galaxy scene\n"
    "  --max-fps N          at most N frames a second; 0: no cap (hack mode: 60)\n"
    "  --data PATH          the folder holding data.ssd\n"
    "The idle launcher (Linux sessions without a screensaver daemon):\n"
    "  --idle               start the show whenever the session has been idle IdleMinutes\n"
    "  --idle --idle-seconds N      ... idle N seconds instead\n"
    "  --idle --autostart on|off    write or remove ~/.config/autostart/voidrift-idle.desktop\n"
    "  --idle --verbose             say what the session reports\n"
    "Runs for tests and measurements:\n"
    "  --record DIR         write every frame as DIR/frame-00000.png, ...\n"
    "  --frames N           stop after N frames, loading frames included\n"
    "  --fixed-dt S         advance every frame by S seconds\n"
    "  --seed N             seed the random generator with N\n"
    "  --size WxH           window size instead of the settings' mode\n"
    "  --no-loading         skip the loading animation\n"
    "  --scene WORLD:FILE   open with that world's scene file instead of a random one\n"
    "  --renderer gl|gles   draw with GL 1.1 (default) or through the GLES layer\n"
    "  --benchmark S        run S seconds, then print the frame rate\n"
    "  --simulate S         run the show S seconds without drawing\n"
    "  --check-data         check every member the show reads\n"
    "  --help, --version    this text; the version\n";
