#include "app/CompanionFiles.h"

#include <filesystem>

std::string executableFolder() {
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(".") : self.parent_path().string();
}

std::vector<std::string> companionCandidates(const std::string& executableFolder, const char* name) {
    std::filesystem::path dir(executableFolder);
    return {(dir / name).string(), (dir / "../lib/voidrift" / name).lexically_normal().string(),
            (dir / "../../lib/voidrift" / name).lexically_normal().string()};
}

std::string findCompanion(const char* name) {
    for (const std::string& path : companionCandidates(executableFolder(), name)) {
        std::error_code ignored;
        if (std::filesystem::exists(path, ignored)) return path;
    }
    return "";
}
