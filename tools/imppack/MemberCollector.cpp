#include "imppack/MemberCollector.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

bool readFile(const fs::path& path, std::vector<std::uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

std::string memberName(const fs::path& relative) {
    std::string name;
    for (const fs::path& part : relative) {
        if (!name.empty()) name += '\\';
        name += part.string();
    }
    return name;
}

}  // namespace

bool collectMembers(const std::vector<std::string>& paths, std::vector<PackInput>& members, std::string& error) {
    std::vector<std::pair<std::string, fs::path>> found;
    for (const std::string& arg : paths) {
        std::error_code ec;
        fs::path root(arg);
        if (fs::is_directory(root, ec)) {
            for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
                if (it->is_regular_file(ec)) found.emplace_back(memberName(fs::relative(it->path(), root, ec)), it->path());
            if (ec) {
                error = "cannot read folder " + arg + ": " + ec.message();
                return false;
            }
        } else if (fs::is_regular_file(root, ec)) {
            found.emplace_back(root.filename().string(), root);
        } else {
            error = "no such file or folder: " + arg;
            return false;
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [name, path] : found) {
        PackInput input;
        input.memberName = name;
        if (!readFile(path, input.bytes)) {
            error = "cannot read " + path.string();
            return false;
        }
        members.push_back(std::move(input));
    }
    return true;
}
