#include "app/IdleCommand.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/CompanionFiles.h"
#include "app/SettingsStore.h"
#include "script/Settings.h"

namespace {

const char kLauncherName[] = "voidrift-idle";

std::string ownProgram() {
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.string();
}

}  // namespace

bool wantsIdleLauncher(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--idle") == 0) return true;
    }
    return false;
}

int runIdleCommand(int argc, char** argv) {
    std::string launcher = findCompanion(kLauncherName);
    std::string program = ownProgram();
    if (launcher.empty() || program.empty()) {
        std::fprintf(stderr, "voidrift: cannot find %s beside the program or in ../lib/voidrift\n", kLauncherName);
        return 1;
    }
    Settings record;
    loadSettingsFrom(settingsPath(), record, platform::DisplayMode{800, 600, 32});
    // Ours first: what the user typed comes after and wins.
    std::vector<std::string> words{launcher, "--program", program, "--idle-seconds",
                                   std::to_string(record.idleMinutes * 60)};
    for (int i = 1; i < argc; ++i) words.push_back(argv[i]);
    std::vector<char*> arguments;
    for (std::string& word : words) arguments.push_back(word.data());
    arguments.push_back(nullptr);
    execv(launcher.c_str(), arguments.data());
    std::fprintf(stderr, "voidrift: cannot run %s: %s\n", launcher.c_str(), std::strerror(errno));
    return 1;
}
