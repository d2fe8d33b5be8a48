// imppack: creates, lists, tests and extracts IMP archives.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "archive/ArchiveMember.h"
#include "archive/ArchiveResult.h"
#include "archive/ByteSource.h"
#include "archive/Crc32.h"
#include "archive/ExtractMember.h"
#include "imppack/ArchiveListing.h"
#include "imppack/ArchiveWriter.h"
#include "imppack/MemberCollector.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kExitBadCrc = 3;  // cat: the bytes went out, but they fail their CRC

void printUsage(std::FILE* to) {
    std::fputs(
        "usage: imppack create OUT.ssd [--method stored|lz|bwt|best] [--solid] [--block-size N]\n"
        "                      [--filter e8|e8w] [--comment TEXT] [--stored-directory] (DIR|FILE)...\n"
        "       imppack list ARCHIVE\n"
        "       imppack cat ARCHIVE NAME\n"
        "       imppack test ARCHIVE\n"
        "exit status: 0 success, 1 failure, 2 bad usage; cat exits 3 when it wrote the\n"
        "member but its bytes fail the CRC check (the warning goes to stderr)\n",
        to);
}

int usage() {
    printUsage(stderr);
    return kExitUsage;
}

void printResult(const char* what, int code) {
    std::string text = resultText(code);
    if (code == archive_result::kNotFound) text = "member not found, archive cannot be opened, or it needs a newer reader";
    while (!text.empty() && text.back() == '\n') text.pop_back();
    std::fprintf(stderr, "imppack: %s: result %d: %s\n", what, code, text.c_str());
}

bool parseMethod(const char* text, Method& method) {
    static const struct { const char* name; Method method; } names[] = {
        {"stored", Method::Stored}, {"lz", Method::Lz}, {"bwt", Method::Bwt}, {"best", Method::Best}};
    for (const auto& n : names) {
        if (std::strcmp(text, n.name) == 0) {
            method = n.method;
            return true;
        }
    }
    return false;
}

int create(int argc, char** argv) {
    if (argc < 1) return usage();
    std::string out = argv[0];
    PackOptions options;
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--method" && hasValue) {
            if (!parseMethod(argv[++i], options.method)) return usage();
        } else if (arg == "--solid") {
            options.solid = true;
        } else if (arg == "--block-size" && hasValue) {
            char* end = nullptr;
            unsigned long n = std::strtoul(argv[++i], &end, 10);
            if (*end != 0 || n == 0 || n > kMaxBlockSize) {
                std::fprintf(stderr, "imppack: block size must be 1 to %u\n", kMaxBlockSize);
                return kExitUsage;
            }
            options.blockSize = static_cast<std::uint32_t>(n);
        } else if (arg == "--filter" && hasValue) {
            std::string f = argv[++i];
            if (f == "e8") options.filter = Filter::E8;
            else if (f == "e8w") options.filter = Filter::E8W;
            else return usage();
        } else if (arg == "--comment" && hasValue) {
            options.comment = argv[++i];
        } else if (arg == "--stored-directory") {
            options.storedDirectory = true;
        } else if (arg.rfind("--", 0) == 0) {
            return usage();
        } else {
            paths.push_back(arg);
        }
    }
    if (paths.empty()) return usage();
    std::vector<PackInput> members;
    std::string error;
    if (!collectMembers(paths, members, error)) {
        std::fprintf(stderr, "imppack: %s\n", error.c_str());
        return kExitFailure;
    }
    for (const PackInput& m : members) {
        if (m.memberName.size() >= ArchiveMember::kNameCapacity)
            std::fprintf(stderr, "imppack: warning: %s is longer than the show's %zu-character names\n",
                         m.memberName.c_str(), ArchiveMember::kNameCapacity - 1);
    }
    if (!writeArchive(out, members, options, &error)) {
        std::fprintf(stderr, "imppack: %s\n", error.c_str());
        return kExitFailure;
    }
    return 0;
}

int openSource(const char* path, FileSource& source) {
    if (source.open(path)) return 0;
    std::fprintf(stderr, "imppack: cannot open %s\n", path);
    return kExitFailure;
}

int list(const char* path) {
    FileSource source;
    if (openSource(path, source) != 0) return kExitFailure;
    std::vector<ListedMember> members;
    int result = listArchive(source, members);
    std::printf("%-40s %10s %10s %-12s %s\n", "name", "size", "packed", "method", "crc");
    for (const ListedMember& m : members) {
        std::string method = m.methods + (m.sharedStream ? " solid" : "");
        std::string filter = (m.attributes & 2) ? " e8w" : (m.attributes & 4) ? " e8" : "";
        std::printf("%-40s %10u %10llu %-12s %08x%s\n", m.name.c_str(), m.size,
                    static_cast<unsigned long long>(m.packedSize), method.c_str(), m.crc, filter.c_str());
    }
    if (result != 0) {
        printResult(path, result);
        return kExitFailure;
    }
    return 0;
}

// The reader writes an archive comment to standard output on every extraction;
// member bytes must not mix with it, and `test` shows it once through `list`.
int extractQuietly(const char* path, const char* name, std::uint8_t*& data, std::uint32_t& size,
                   bool* crcMatches = nullptr) {
    std::fflush(stdout);
    int saved = dup(STDOUT_FILENO);
    int sink = open("/dev/null", O_WRONLY);
    if (saved >= 0 && sink >= 0) dup2(sink, STDOUT_FILENO);
    if (sink >= 0) close(sink);
    int result = extractMember(path, name, data, size, crcMatches);
    std::fflush(stdout);
    if (saved >= 0) {
        dup2(saved, STDOUT_FILENO);
        close(saved);
    }
    return result;
}

int cat(const char* path, const char* name) {
    std::uint8_t* data = nullptr;
    std::uint32_t size = 0;
    bool crcMatches = false;
    int result = extractQuietly(path, name, data, size, &crcMatches);
    if (result != 0) {
        delete[] data;
        printResult(name, result);
        return kExitFailure;
    }
    bool ok = std::fwrite(data, 1, size, stdout) == size && std::fflush(stdout) == 0;
    delete[] data;
    if (!ok) return kExitFailure;
    return crcMatches ? 0 : kExitBadCrc;
}

int test(const char* path) {
    FileSource source;
    if (openSource(path, source) != 0) return kExitFailure;
    std::vector<ListedMember> members;
    int listed = listArchive(source, members);
    int failures = 0;
    std::set<std::string> seen;
    for (const ListedMember& m : members) {
        if (m.attributes & 1) continue;
        std::string key;
        for (char c : m.name) key += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
        if (!seen.insert(key).second) {
            std::printf("SKIP  %s (an earlier entry of the same name is the one readers find)\n", m.name.c_str());
            continue;
        }
        std::uint8_t* data = nullptr;
        std::uint32_t size = 0;
        int result = extractQuietly(path, m.name.c_str(), data, size);
        std::uint32_t crc = size == 0 ? 0 : crc32(data, size);
        delete[] data;
        if (result != 0) {
            std::printf("FAIL  %s (result %d)\n", m.name.c_str(), result);
            ++failures;
        } else if (crc != m.crc) {
            std::printf("FAIL  %s (CRC %08x, stored %08x)\n", m.name.c_str(), crc, m.crc);
            ++failures;
        } else {
            std::printf("OK    %s\n", m.name.c_str());
        }
    }
    if (listed != 0) {
        printResult(path, listed);
        return kExitFailure;
    }
    std::printf("%d of %zu members failed\n", failures, seen.size());
    return failures == 0 ? 0 : kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    std::string command = argv[1];
    if (command == "--help" || command == "-h") {
        printUsage(stdout);
        return 0;
    }
    if (command == "create") return create(argc - 2, argv + 2);
    if (command == "list" && argc == 3) return list(argv[2]);
    if (command == "cat" && argc == 4) return cat(argv[2], argv[3]);
    if (command == "test" && argc == 3) return test(argv[2]);
    return usage();
}
