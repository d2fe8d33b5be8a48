// The show's readers open their members from "data.ssd" in the working folder. Fuzz
// input goes there as a member of a stored archive, so that it is read exactly as the
// show reads it. Each fuzzer process works in a private folder, removed at exit.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "archive/ArchiveMember.h"
#include "imppack/ArchiveWriter.h"

namespace fuzz_archive {

inline std::string& privateFolder() {
    static std::string folder;
    return folder;
}

inline void removePrivateFolder() {
    std::remove("data.ssd");
    rmdir(privateFolder().c_str());
}

inline void enterPrivateFolder() {
    char path[] = "/tmp/voidrift-fuzz-XXXXXX";
    if (!mkdtemp(path) || chdir(path) != 0) std::abort();
    privateFolder() = path;
    std::atexit(removePrivateFolder);
}

inline PackInput member(const char* name, const std::uint8_t* data, std::size_t size) {
    PackInput input;
    input.memberName = name;
    input.bytes.assign(data, data + size);
    return input;
}

inline void writeArchiveOf(const std::vector<PackInput>& members) {
    PackOptions options;
    options.method = Method::Stored;
    options.storedDirectory = true;
    if (!writeArchive("data.ssd", members, options)) std::abort();
}

// Puts the bytes in the archive as its one member and opens it as the show does.
inline void openAsMember(const char* name, const std::uint8_t* data, std::size_t size, ArchiveMember& opened) {
    writeArchiveOf({member(name, data, size)});
    opened.open(name);
}

// A shipped script from the source tree (read once, before the folder changes).
inline std::vector<std::uint8_t> sourceFile(const char* relative) {
    std::ifstream in(std::string(VOIDRIFT_SOURCE_DIR) + "/" + relative, std::ios::binary);
    if (!in) std::abort();
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace fuzz_archive
