#include "app/StartupTimes.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

// Milliseconds from the process's creation to now, as the system counts them.
double sinceProcessCreation() {
#ifdef _WIN32
    FILETIME created, exited, kernel, user, now;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    GetSystemTimeAsFileTime(&now);
    auto ticks = [](const FILETIME& time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(now) - ticks(created)) / 10000.0;  // 100 ns ticks
#else
    // Field 22 of /proc/self/stat: the start in clock ticks since boot; /proc/uptime: now.
    std::ifstream stat("/proc/self/stat");
    std::string field;
    for (int i = 0; i < 22 && stat >> field; ++i) {
    }
    double uptime = 0;
    std::ifstream("/proc/uptime") >> uptime;
    return (uptime - std::stod(field.empty() ? "0" : field) / static_cast<double>(sysconf(_SC_CLK_TCK))) * 1000.0;
#endif
}

}  // namespace

void startupMark(const char* stage) {
    static const bool wanted = std::getenv("VOIDRIFT_STARTUP_TIMES") != nullptr;
    if (!wanted) return;
    // The creation time once, then the steady clock, which has the finer grain.
    static const double base = sinceProcessCreation();
    static const auto first = std::chrono::steady_clock::now();
    double elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - first).count();
    std::fprintf(stderr, "start-up: %s %.1f\n", stage, base + elapsed);
    std::fflush(stderr);
}
