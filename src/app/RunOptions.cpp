#include "app/RunOptions.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

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
    {"--check-data", false, [](const std::string&, RunOptions& o) { return o.checkData = true; }},
};

const LongOption* findOption(const std::string& name) {
    for (const LongOption& option : kLongOptions) {
        if (name == option.name) return &option;
    }
    return nullptr;
}

}  // namespace

bool extractLongOptions(std::vector<std::string>& arguments, RunOptions& options, std::string& error) {
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (i == 0 || argument.rfind("--", 0) != 0) {
            rest.push_back(argument);
            continue;
        }
        std::size_t equals = argument.find('=');
        std::string name = argument.substr(0, equals);
        const LongOption* option = findOption(name);
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
