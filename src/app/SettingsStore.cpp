#include "app/SettingsStore.h"

#include <strings.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/SettingValues.h"
#include "app/SettingsFile.h"

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

// One line of the file: its text and the line end it had ("\r\n", "\n", or none at the end).
struct FileLine {
    std::string text;
    std::string end;
};

std::vector<FileLine> splitFileLines(const std::string& contents) {
    std::vector<FileLine> lines;
    std::size_t at = 0;
    while (at < contents.size()) {
        std::size_t newline = contents.find('\n', at);
        std::size_t stop = newline == std::string::npos ? contents.size() : newline;
        std::size_t textEnd = stop > at && contents[stop - 1] == '\r' ? stop - 1 : stop;
        std::size_t next = newline == std::string::npos ? contents.size() : newline + 1;
        lines.push_back({contents.substr(at, textEnd - at), contents.substr(textEnd, next - textEnd)});
        at = next;
    }
    return lines;
}

// New lines follow the file's own line ends.
std::string lineEndOf(const std::vector<FileLine>& lines) {
    for (const FileLine& line : lines) {
        if (!line.end.empty() && line.end.back() == '\n') return line.end;
    }
    return "\n";
}

// The line of each value is the one the load takes: the first in our section that reads
// as a number. Only a line whose value changed is rewritten (keeping its line end); every
// other line, repeats and lines the load passes over included, stays as it was. Marks the
// values found in `written` and returns the end of our section.
std::size_t rewriteChangedValues(std::vector<FileLine>& lines, const Settings& record, bool written[]) {
    std::size_t sectionEnd = 0;
    bool inOurSection = true;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        FileLine& line = lines[i];
        if (isSectionLine(line.text)) inOurSection = line.text == kHeader;
        if (inOurSection) sectionEnd = i + 1;
        Line pair = splitLine(line.text);
        int index = inOurSection && !pair.name.empty() ? findValue(pair.name) : -1;
        std::uint32_t raw = 0;
        if (index < 0 || written[index] || !parseRaw(pair.value, raw)) continue;
        written[index] = true;
        if (raw != storedSetting(record, kSettingValues[index])) {
            line.text = pair.name + "=" + formatValue(record, kSettingValues[index]);
        }
    }
    return sectionEnd;
}

std::string mergeSettings(const std::string& contents, const Settings& record) {
    std::vector<FileLine> lines = splitFileLines(contents);
    const std::string newline = lineEndOf(lines);
    // A file of ours may begin with a comment: only a file without our section gets its header.
    bool hasHeader = false;
    for (const FileLine& line : lines) hasHeader = hasHeader || line.text == kHeader;
    if (!hasHeader) lines.insert(lines.begin(), {kHeader, newline});
    bool written[kSettingValueCount] = {};
    std::size_t sectionEnd = rewriteChangedValues(lines, record, written);
    // Values not in the file yet close our section.
    std::vector<FileLine> missing;
    for (int i = 0; i < kSettingValueCount; ++i) {
        const SettingValue& value = kSettingValues[i];
        if (!written[i]) missing.push_back({std::string(value.name) + "=" + formatValue(record, value), newline});
    }
    if (!missing.empty() && lines[sectionEnd - 1].end.empty()) lines[sectionEnd - 1].end = newline;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(sectionEnd), missing.begin(), missing.end());
    std::string merged;
    for (const FileLine& line : lines) merged += line.text + line.end;
    return merged;
}

void copyPath(Settings& record, const std::string& text) {
    std::size_t length = text.size() < Settings::kPathCapacity - 1 ? text.size() : Settings::kPathCapacity - 1;
    std::memcpy(record.path, text.data(), length);
    record.path[length] = '\0';
}

std::string loadProblem;  // why the process-wide record could not be read from its file

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

bool loadSettingsFrom(const std::string& path, Settings& record, const platform::DisplayMode& desktop,
                      std::string* problem) {
    applyDefaultSettings(record, desktop);
    std::string contents;
    std::string why;
    if (readSettingsFile(path, contents, why) != SettingsFileRead::read) {
        if (problem) *problem = why;
        return false;
    }
    bool seen[kSettingValueCount] = {};
    bool seenPath = false;
    bool inOurSection = true;
    for (const FileLine& fileLine : splitFileLines(contents)) {
        const std::string& text = fileLine.text;
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

bool saveSettingsTo(const std::string& path, const Settings& record, std::string* problem) {
    std::string contents;
    std::string why;
    SettingsFileRead read = readSettingsFile(path, contents, why);
    if (read == SettingsFileRead::refused) {
        // Writing now would lose whatever the file holds.
        if (problem) *problem = why + "; it is left as it is";
        return false;
    }
    std::string merged = mergeSettings(contents, record);
    if (read == SettingsFileRead::read && merged == contents) return true;
    if (writeSettingsFile(path, merged, why)) return true;
    if (problem) *problem = why;
    return false;
}

void loadSettings() {
    platform::DisplayMode desktop{800, 600, 32};
    platform::desktopMode(desktop);
    loadProblem.clear();
    loadSettingsFrom(settingsPath(), settings, desktop, &loadProblem);
    if (!loadProblem.empty()) std::fprintf(stderr, "voidrift: %s; the default settings are used\n", loadProblem.c_str());
}

const std::string& settingsFileProblem() { return loadProblem; }

void saveSettings() { saveSettingsTo(settingsPath(), settings); }
