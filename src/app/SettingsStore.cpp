#include "app/SettingsStore.h"

#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "app/SettingValues.h"

namespace {

const char kHeader[] = "[Software\\Voidrift 3D Screensaver]";

std::string formatValue(const Settings& record, const SettingValue& value) {
    if (value.kind == SettingKind::Signed) return std::to_string(record.*value.signedNumber);
    return std::to_string(storedSetting(record, value));
}

// Blanks around a value are no part of it.
std::string trimBlanks(const std::string& text) {
    std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return "";
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

// A decimal number that a 32-bit registry value can hold (negative ones as their bits).
bool parseRaw(const std::string& text, std::uint32_t& raw) {
    std::string digits = trimBlanks(text);
    if (digits.empty()) return false;
    errno = 0;
    char* stop = nullptr;
    long long number = std::strtoll(digits.c_str(), &stop, 10);
    if (errno != 0 || *stop != '\0' || number < INT32_MIN || number > UINT32_MAX) return false;
    raw = static_cast<std::uint32_t>(number);
    return true;
}

struct Line {
    std::string name;   // before '=', trailing blanks removed; empty for other lines
    std::string value;  // after '='
};

Line splitLine(const std::string& text) {
    Line line;
    std::size_t equals = text.find('=');
    if (equals == std::string::npos || text[0] == '[') return line;
    line.name = text.substr(0, equals);
    while (!line.name.empty() && (line.name.back() == ' ' || line.name.back() == '\t')) line.name.pop_back();
    line.value = text.substr(equals + 1);
    return line;
}

int findValue(const std::string& name) {
    for (int i = 0; i < kSettingValueCount; ++i) {
        if (strcasecmp(name.c_str(), kSettingValues[i].name) == 0) return i;
    }
    return -1;
}

bool isSectionLine(const std::string& text) { return !text.empty() && text[0] == '['; }

bool readLines(const std::string& path, std::vector<std::string>& lines) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string text;
    while (std::getline(in, text)) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        lines.push_back(text);
    }
    return true;
}

void copyPath(Settings& record, const std::string& text) {
    std::size_t length = text.size() < Settings::kPathCapacity - 1 ? text.size() : Settings::kPathCapacity - 1;
    std::memcpy(record.path, text.data(), length);
    record.path[length] = '\0';
}

bool writeAtomically(const std::string& path, const std::string& contents) {
    std::filesystem::path target(path);
    std::error_code ignored;
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ignored);
    std::string temporary = path + ".tmp-XXXXXX";
    int fd = mkstemp(temporary.data());
    if (fd < 0) return false;
    const char* data = contents.data();
    std::size_t left = contents.size();
    bool ok = true;
    while (ok && left > 0) {
        ssize_t written = write(fd, data, left);
        if (written < 0 && errno == EINTR) continue;
        ok = written > 0;
        if (ok) {
            data += written;
            left -= static_cast<std::size_t>(written);
        }
    }
    ok = ok && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (ok && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
    unlink(temporary.c_str());
    return false;
}

}  // namespace

std::string settingsPath() {
    const char* overridePath = std::getenv("VOIDRIFT_CONFIG");
    if (overridePath && *overridePath) return overridePath;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config) return std::string(config) + "/voidrift/settings.ini";
    const char* home = std::getenv("HOME");
    if (home && *home) return std::string(home) + "/.config/voidrift/settings.ini";
    return "";
}

void applyDefaultSettings(Settings& record, const platform::DisplayMode& desktop) {
    applyDefaultValues(record, desktop);
}

bool loadSettingsFrom(const std::string& path, Settings& record, const platform::DisplayMode& desktop) {
    applyDefaultSettings(record, desktop);
    std::vector<std::string> lines;
    if (!readLines(path, lines)) return false;
    bool seen[kSettingValueCount] = {};
    bool seenPath = false;
    bool inOurSection = true;
    for (const std::string& text : lines) {
        if (isSectionLine(text)) inOurSection = text == kHeader;
        Line line = splitLine(text);
        if (!inOurSection || line.name.empty()) continue;
        if (strcasecmp(line.name.c_str(), "Path") == 0) {
            if (!seenPath) copyPath(record, trimBlanks(line.value));
            seenPath = true;
            continue;
        }
        int index = findValue(line.name);
        std::uint32_t raw = 0;
        if (index < 0 || seen[index] || !parseRaw(line.value, raw)) continue;
        seen[index] = true;
        takeStoredSetting(record, kSettingValues[index], raw);
    }
    applyLoadRules(record);
    return true;
}

bool saveSettingsTo(const std::string& path, const Settings& record) {
    std::vector<std::string> lines;
    readLines(path, lines);
    // A file of ours may begin with a comment: only a file without our section gets its header.
    if (std::find(lines.begin(), lines.end(), kHeader) == lines.end()) lines.insert(lines.begin(), kHeader);
    bool written[kSettingValueCount] = {};
    std::vector<std::string> out;
    std::size_t sectionEnd = 0;  // where values not in the file yet go: the end of our section
    bool inOurSection = true;
    for (const std::string& text : lines) {
        if (isSectionLine(text)) inOurSection = text == kHeader;
        Line line = splitLine(text);
        int index = inOurSection && !line.name.empty() ? findValue(line.name) : -1;
        if (index >= 0) {
            if (written[index]) continue;  // a repeated value: the first one stands for it
            written[index] = true;
            out.push_back(line.name + "=" + formatValue(record, kSettingValues[index]));
        } else {
            out.push_back(text);
        }
        if (inOurSection) sectionEnd = out.size();
    }
    std::vector<std::string> missing;
    for (int i = 0; i < kSettingValueCount; ++i) {
        if (!written[i]) missing.push_back(std::string(kSettingValues[i].name) + "=" + formatValue(record, kSettingValues[i]));
    }
    out.insert(out.begin() + static_cast<std::ptrdiff_t>(sectionEnd), missing.begin(), missing.end());
    std::string contents;
    for (const std::string& text : out) contents += text + "\n";
    return writeAtomically(path, contents);
}

void loadSettings() {
    platform::DisplayMode desktop{800, 600, 32};
    platform::desktopMode(desktop);
    loadSettingsFrom(settingsPath(), settings, desktop);
}

void saveSettings() { saveSettingsTo(settingsPath(), settings); }
