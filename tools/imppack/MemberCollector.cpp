#include "imppack/MemberCollector.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

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

namespace {

// Members are looked up without regard to letter case (ASCII), so two names that
// differ only in case would shadow each other.
std::string lookupKey(const std::string& name) {
    std::string key = name;
    for (char& c : key)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return key;
}

// Files below a folder, each named by its own path under the folder: a link keeps its
// own name (its target's bytes are stored), so nothing can name a place outside.
bool collectFolder(const fs::path& root, std::vector<std::pair<std::string, fs::path>>& found, std::string& error) {
    std::error_code ec;
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->is_regular_file(ec)) {
            found.emplace_back(memberName(it->path().lexically_relative(root)), it->path());
        } else if (it->is_symlink(ec) && !fs::exists(it->path(), ec)) {
            error = "broken link: " + it->path().string();
            return false;
        }
    }
    if (ec) error = "cannot read folder " + root.string() + ": " + ec.message();
    return !ec;
}

}  // namespace

bool collectMembers(const std::vector<std::string>& paths, std::vector<PackInput>& members, std::string& error) {
    std::vector<std::pair<std::string, fs::path>> found;
    for (const std::string& arg : paths) {
        std::error_code ec;
        fs::path root(arg);
        if (fs::is_directory(root, ec)) {
            if (!collectFolder(root, found, error)) return false;
        } else if (fs::is_regular_file(root, ec)) {
            found.emplace_back(root.filename().string(), root);
        } else {
            error = "no such file or folder: " + arg;
            return false;
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::map<std::string, const fs::path*> byKey;
    for (const auto& [name, path] : found) {
        auto [at, added] = byKey.emplace(lookupKey(name), &path);
        if (!added) {
            error = at->second->string() + " and " + path.string() + " would both be member " + name +
                    " (names are found without regard to case): rename one";
            return false;
        }
    }
    for (const auto& [name, path] : found) {
        PackInput input;
        input.memberName = name;
        if (!readFile(path, input.bytes)) {
            error = "cannot read " + path.string();
            return false;
        }
        members.push_back(std::move(input));
    }
    if (members.empty()) error = "no files to pack: an archive needs at least one member";
    return !members.empty();
}
