#include "app/HelpPage.h"

#include <filesystem>

#include "app/DataFolder.h"
#include "app/Utf8Path.h"

std::string findHelpPage(const std::string& programFolder) {
    for (const std::string& folder : dataFolderCandidates("", "", programFolder).folders) {
        std::filesystem::path page = utf8Path(folder) / "voidrift.html";
        std::error_code error;
        if (std::filesystem::is_regular_file(page, error)) return utf8String(page.lexically_normal());
    }
    return "";
}
