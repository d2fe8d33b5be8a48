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

int hexDigit(char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The number at the first digit after p; false when the line ends first. Decimal, or
// hexadecimal after "0x" (X11 window ids are written that way). A number too large for
// 32 bits saturates instead of overflowing.
bool readHandle(const char* p, std::int32_t& value) {
    while (*p && !isDigit(*p)) ++p;
    if (!*p) return false;
    int base = 10;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && hexDigit(p[2]) >= 0) {
        base = 16;
        p += 2;
    }
    long long number = 0;
    for (int digit = hexDigit(*p); digit >= 0 && digit < base; digit = hexDigit(*++p)) {
        number = number * base + digit;
        if (number > INT32_MAX) number = INT32_MAX;
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
