#include "app/CommandLine.h"

#include <climits>
#include <cstdint>

namespace {

const char* skipProgramName(const char* p) {
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
        return *p ? p + 1 : p;
    }
    while (*p && *p != ' ') ++p;
    return *p ? p + 1 : p;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The decimal number at the first digit after p; false when the line ends first.
// A number too large for 32 bits saturates instead of overflowing.
bool readHandle(const char* p, std::int32_t& value) {
    while (*p && !isDigit(*p)) ++p;
    if (!*p) return false;
    long long number = 0;
    while (isDigit(*p)) {
        number = number * 10 + (*p - '0');
        if (number > INT32_MAX) number = INT32_MAX;
        ++p;
    }
    value = static_cast<std::int32_t>(number);
    return true;
}

}  // namespace

RunMode parseCommandLine(SaverApp& app, const char* line) {
    app.parentWindow = 0;
    if (!line) return configure;
    const char* p = skipProgramName(line);
    while (*p && *p != '/' && *p != '-') ++p;
    if (!*p) return configure;
    char letter = p[1];
    const char* rest = letter ? p + 2 : p + 1;
    switch (letter) {
        case 'C':
        case 'c':
            readHandle(rest, app.parentWindow);
            return configure;
        case 'P':
        case 'p':
            readHandle(rest, app.parentWindow);
            return preview;
        case 'T':
        case 't':
            return saverTest;
        default:
            return saver;
    }
}

std::string rawCommandLine(const std::vector<std::string>& arguments) {
    std::string line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (i > 0) line += ' ';
        bool quote = i == 0 || argument.find(' ') != std::string::npos;
        if (quote) line += '"';
        line += argument;
        if (quote) line += '"';
    }
    return line;
}
