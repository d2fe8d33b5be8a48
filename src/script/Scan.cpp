#include "script/Scan.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

bool keywordTest(const char* line, const char* keyword) {
    return std::strncmp(line, keyword, std::strlen(keyword)) == 0;
}

void copyName(char* destination, int capacity, const char* source) {
    if (capacity <= 0) return;
    int i = 0;
    for (; i < capacity - 1 && source[i] != '\0'; ++i) destination[i] = source[i];
    destination[i] = '\0';
}

static bool isBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

static const char* skipBlanks(const char* p) {
    while (*p != '\0' && isBlank(*p)) ++p;
    return p;
}

// Each reader returns the position after the field, or null when nothing matched.
static const char* scanFloat(const char* p, float* out) {
    p = skipBlanks(p);
    char* end = nullptr;
    float value = std::strtof(p, &end);
    if (end == p) return nullptr;
    *out = value;
    return end;
}

static const char* scanInt(const char* p, int* out) {
    p = skipBlanks(p);
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(p, &end, 10);
    if (end == p) return nullptr;
    if (value > INT_MAX) value = INT_MAX;
    if (value < INT_MIN) value = INT_MIN;
    *out = static_cast<int>(value);
    return end;
}

static const char* scanWord(const char* p, char* out, int capacity) {
    p = skipBlanks(p);
    if (*p == '\0') return nullptr;
    int n = 0;
    while (*p != '\0' && !isBlank(*p)) {
        if (n < capacity - 1) out[n++] = *p;
        ++p;
    }
    if (capacity > 0) out[n] = '\0';
    return p;
}

int scanLine(const char* line, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int stored = 0;
    const char* p = line;
    for (const char* f = format; *f != '\0' && p != nullptr; ++f) {
        if (isBlank(*f)) {
            p = skipBlanks(p);
        } else if (*f == '%' && f[1] == 'f') {
            p = scanFloat(p, va_arg(args, float*));
            stored += p != nullptr;
            ++f;
        } else if (*f == '%' && f[1] == 'd') {
            p = scanInt(p, va_arg(args, int*));
            stored += p != nullptr;
            ++f;
        } else if (*f == '%' && f[1] == 's') {
            char* out = va_arg(args, char*);
            int capacity = va_arg(args, int);
            p = scanWord(p, out, capacity);
            stored += p != nullptr;
            ++f;
        } else if (*p == *f) {
            ++p;
        } else {
            p = nullptr;
        }
    }
    va_end(args);
    return stored;
}
