#include "app/DataFolder.h"

#include <filesystem>

#include "app/Utf8Path.h"

std::string trimBlanks(const std::string& text) {
    std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return "";
    std::size_t end = text.find_last_not_of(" \t");
    return text.substr(begin, end - begin + 1);
}

std::vector<std::string> dataFolderCandidates(const std::string& optionPath, const std::string& settingsPath,
                                              const std::string& programFolder) {
    std::vector<std::string> candidates;
    if (!optionPath.empty()) return {optionPath};
    std::string stored = trimBlanks(settingsPath);
    if (!stored.empty()) return {stored};
    if (!programFolder.empty()) {
        std::filesystem::path folder = utf8Path(programFolder);
        if (!folder.has_filename()) folder = folder.parent_path();  // a trailing slash
        candidates.push_back(utf8String(folder.parent_path() / "share" / "voidrift"));
        candidates.push_back(utf8String(folder.parent_path().parent_path() / "share" / "voidrift"));
        candidates.push_back(utf8String(folder));
    }
    return candidates;
}

std::string findDataFolder(const std::vector<std::string>& candidates) {
    for (const std::string& folder : candidates) {
        std::error_code error;
        if (std::filesystem::is_regular_file(utf8Path(folder) / "data.ssd", error)) return folder;
    }
    return candidates.empty() ? "" : candidates.front();
}
