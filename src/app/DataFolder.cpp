#include "app/DataFolder.h"

#include <algorithm>
#include <filesystem>

#include "app/Utf8Path.h"

namespace {

std::string quoted(const std::string& folder) { return "\"" + folder + "\""; }

// "data.ssd not found in "A", "B" or "C"": every folder looked in, in order.
std::string notFoundIn(const std::vector<std::string>& folders) {
    std::string text = "data.ssd not found in ";
    for (std::size_t i = 0; i < folders.size(); ++i) {
        if (i > 0) text += i + 1 == folders.size() ? " or " : ", ";
        text += quoted(folders[i]);
    }
    return text;
}

// A named folder that is not there (or no folder) says so, with the system's reason.
std::string namedFolderProblem(const std::string& folder) {
    std::error_code error;
    std::filesystem::file_status status = std::filesystem::status(utf8Path(folder), error);
    if (error) return "data.ssd not found: the data folder " + quoted(folder) + " cannot be used (" + error.message() + ")";
    if (!std::filesystem::is_directory(status)) return "data.ssd not found: " + quoted(folder) + " is not a folder";
    return notFoundIn({folder});
}

}  // namespace

std::string trimBlanks(const std::string& text) {
    std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return "";
    std::size_t end = text.find_last_not_of(" \t");
    return text.substr(begin, end - begin + 1);
}

DataFolderCandidates dataFolderCandidates(const std::string& optionPath, const std::string& settingsPath,
                                          const std::string& programFolder) {
    if (!optionPath.empty()) return {{optionPath}, true};
    std::string stored = trimBlanks(settingsPath);
    if (!stored.empty()) return {{stored}, true};
    DataFolderCandidates candidates;
    if (programFolder.empty()) return candidates;
    std::filesystem::path folder = utf8Path(programFolder);
    if (!folder.has_filename()) folder = folder.parent_path();  // a trailing slash
    for (const std::filesystem::path& place :
         {folder.parent_path() / "share" / "voidrift", folder.parent_path().parent_path() / "share" / "voidrift", folder}) {
        // Near the root of a file system two places can be one.
        std::vector<std::string>& folders = candidates.folders;
        std::string name = utf8String(place);
        if (std::find(folders.begin(), folders.end(), name) == folders.end()) folders.push_back(name);
    }
    return candidates;
}

DataFolderSearch findDataFolder(const DataFolderCandidates& candidates) {
    for (const std::string& folder : candidates.folders) {
        std::error_code error;
        // Whatever is there under the name is the one meant: the archive check says what is wrong with it.
        if (std::filesystem::exists(utf8Path(folder) / "data.ssd", error)) return {folder, ""};
    }
    if (candidates.folders.empty()) return {"", "data.ssd not found: no folder to look in"};
    if (candidates.named) return {"", namedFolderProblem(candidates.folders.front())};
    return {"", notFoundIn(candidates.folders)};
}
