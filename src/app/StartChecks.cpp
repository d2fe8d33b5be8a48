#include "app/StartChecks.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "app/Utf8Path.h"
#include "archive/ArchiveCheck.h"
#include "archive/ArchiveResult.h"

std::string enterDataFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::current_path(utf8Path(folder), error);
    if (!error) return "";
    return "data.ssd not found: the data folder \"" + folder + "\" cannot be used (" + error.message() + ")";
}

std::string archiveProblem() {
    using namespace archive_result;
    std::error_code error;
    std::filesystem::path file = std::filesystem::absolute("data.ssd", error);
    std::filesystem::file_status status = std::filesystem::status(file, error);
    if (!std::filesystem::exists(status)) return "data.ssd not found in " + utf8String(file.parent_path());
    std::string name = utf8String(file);
    if (!std::filesystem::is_regular_file(status)) return name + " is not a regular file";
    int result = checkArchive("data.ssd");
    switch (result) {
        case kOk: return "";
        case kNotFound: return name + " cannot be read, or needs a newer reader";
        case kNotImp: return name + " is not an IMP archive";
        case kUnexpectedEnd: return name + " ends early: the file is cut short";
        default: return name + ": " + resultSentence(result);
    }
}

std::string resultSentence(int code) {
    std::string text = resultText(code);
    while (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

bool usableWindowSize(std::uint32_t width, std::uint32_t height) {
    return width >= 1 && width <= 16384 && height >= 1 && height <= 16384;
}
