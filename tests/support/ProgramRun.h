// Runs the built voidrift program as a user would, for checks of what only the whole
// process shows: exit statuses, messages, files left behind.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

struct ProgramRun {
    int status = -1;     // exit status; -1 when the process did not exit normally
    std::string output;  // stdout and stderr together
};

inline std::string voidriftProgram() { return VOIDRIFT_BINARY_DIR "/src/app/voidrift"; }
inline bool voidriftBuilt() { return std::filesystem::exists(voidriftProgram()); }

// Runs the program in folder `dir` under `env` with `environment` ("-u NAME" to remove
// one, then "NAME=value" to set one) and `arguments`. A run that hangs is ended after two minutes
// (status 124). The GL driver leaks from JIT code the leak checker cannot name, so
// sanitizer builds run it without the leak check.
inline ProgramRun runVoidrift(const std::string& dir, const std::string& environment, const std::string& arguments,
                              const std::string& program = voidriftProgram()) {
    std::string command = "cd '" + dir + "' && timeout 120 env " + environment + " ASAN_OPTIONS=detect_leaks=0 '" +
                          program + "' " + arguments + " 2>&1";
    ProgramRun run;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) run.output += buffer;
    int status = pclose(pipe);
    if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
    return run;
}
