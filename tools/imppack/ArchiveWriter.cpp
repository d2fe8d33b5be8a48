#include "imppack/ArchiveWriter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "archive/Crc32.h"
#include "imppack/BitWriter.h"
#include "imppack/CallFilter.h"
#include "imppack/LzEncoder.h"
#include "imppack/StreamEncoder.h"

namespace {

constexpr std::size_t kHeaderSize = 42;
constexpr std::size_t kEntrySize = 38;
constexpr std::size_t kMinArchiveSize = 44;  // readers take anything shorter for a foreign file
constexpr std::size_t kLocalHeaderSize = 11;
constexpr std::size_t kDirectoryBlockLimit = 8192;
constexpr std::uint16_t kVersionNeeded = 0x010A;
// A fixed time stamp keeps archives byte-identical from run to run: 2026-01-01 00:00.
constexpr std::uint16_t kDosTime = 0;
constexpr std::uint16_t kDosDate = ((2026 - 1980) << 9) | (1 << 5) | 1;
constexpr std::uint8_t kAttrFolder = 0x01;
constexpr std::uint8_t kAttrFilter16 = 0x02;
constexpr std::uint8_t kAttrFilter32 = 0x04;

void put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    out[at] = static_cast<std::uint8_t>(v);
    out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

struct Entry {
    std::uint32_t streamOffset = 0;
    std::uint32_t headerOffset = 0;  // local header within the decoded stream
    std::uint8_t attributes = 0;
};

// One member's record in a decoded stream: local header, its name as the variable
// part, then the (possibly filtered) bytes.
void appendRecord(std::vector<std::uint8_t>& stream, const PackInput& input, const std::vector<std::uint8_t>& bytes) {
    std::size_t at = stream.size();
    stream.resize(at + kLocalHeaderSize, 0);
    put16(stream, at + 4, static_cast<std::uint32_t>(input.memberName.size()));
    stream.insert(stream.end(), input.memberName.begin(), input.memberName.end());
    stream.insert(stream.end(), bytes.begin(), bytes.end());
}

unsigned filterWidth(Filter filter) {
    return filter == Filter::E8 ? 4 : filter == Filter::E8W ? 2 : 0;
}

std::uint8_t filterAttribute(unsigned width) {
    return width == 4 ? kAttrFilter32 : width == 2 ? kAttrFilter16 : 0;
}

// Whether the filter is worth trying at all on this member.
bool filterCandidate(const PackInput& input, unsigned width) {
    if (width == 0 || input.bytes.size() < 16) return false;
    std::size_t calls = countLikelyCalls(input.bytes, width);
    return calls >= 8 && calls * 4096 >= input.bytes.size();
}

void appendStream(std::vector<std::uint8_t>& archive, const std::vector<std::uint8_t>& blocks) {
    archive.insert(archive.end(), 6, 0);  // six bytes in front of the first block, never read
    archive.insert(archive.end(), blocks.begin(), blocks.end());
}

// One member per stream: the filter is kept only where it makes the stream smaller.
void writeSeparateStreams(std::vector<std::uint8_t>& archive, const std::vector<PackInput>& inputs,
                          const PackOptions& options, std::vector<Entry>& entries) {
    unsigned width = filterWidth(options.filter);
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const PackInput& input = inputs[i];
        if (input.folderEntry || input.bytes.empty()) continue;
        std::vector<std::uint8_t> decoded;
        appendRecord(decoded, input, input.bytes);
        std::vector<std::uint8_t> blocks = encodeStream(decoded, options.method, options.blockSize);
        if (filterCandidate(input, width)) {
            std::vector<std::uint8_t> filtered = input.bytes;
            encodeCallAddresses(filtered, width);
            std::vector<std::uint8_t> filteredDecoded;
            appendRecord(filteredDecoded, input, filtered);
            std::vector<std::uint8_t> filteredBlocks = encodeStream(filteredDecoded, options.method, options.blockSize);
            if (filteredBlocks.size() < blocks.size()) {
                blocks = std::move(filteredBlocks);
                entries[i].attributes |= filterAttribute(width);
            }
        }
        entries[i].streamOffset = static_cast<std::uint32_t>(archive.size());
        entries[i].headerOffset = 0;
        appendStream(archive, blocks);
    }
}

// All members in one stream: the filter goes where the member looks like code.
void writeSolidStream(std::vector<std::uint8_t>& archive, const std::vector<PackInput>& inputs,
                      const PackOptions& options, std::vector<Entry>& entries) {
    unsigned width = filterWidth(options.filter);
    std::vector<std::uint8_t> decoded;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const PackInput& input = inputs[i];
        if (input.folderEntry || input.bytes.empty()) continue;
        entries[i].headerOffset = static_cast<std::uint32_t>(decoded.size());
        if (filterCandidate(input, width)) {
            std::vector<std::uint8_t> filtered = input.bytes;
            encodeCallAddresses(filtered, width);
            appendRecord(decoded, input, filtered);
            entries[i].attributes |= filterAttribute(width);
        } else {
            appendRecord(decoded, input, input.bytes);
        }
    }
    if (decoded.empty()) return;
    std::uint32_t streamOffset = static_cast<std::uint32_t>(archive.size());
    for (std::size_t i = 0; i < inputs.size(); ++i)
        if (!inputs[i].folderEntry && !inputs[i].bytes.empty()) entries[i].streamOffset = streamOffset;
    appendStream(archive, encodeStream(decoded, options.method, options.blockSize));
}

std::vector<std::uint8_t> directoryEntry(const PackInput& input, const Entry& entry) {
    std::vector<std::uint8_t> e(kEntrySize, 0);
    put16(e, 0, kVersionNeeded);
    put32(e, 4, entry.streamOffset);
    e[11] = static_cast<std::uint8_t>(entry.attributes | (input.folderEntry ? kAttrFolder : 0));
    put32(e, 12, entry.headerOffset);
    std::uint32_t size = input.folderEntry ? 0 : static_cast<std::uint32_t>(input.bytes.size());
    put32(e, 16, size);
    put32(e, 20, size == 0 ? 0 : crc32(input.bytes.data(), input.bytes.size()));
    put16(e, 26, static_cast<std::uint32_t>(input.memberName.size()));
    put16(e, 32, kDosTime);
    put16(e, 34, kDosDate);
    e.insert(e.end(), input.memberName.begin(), input.memberName.end());
    put16(e, 36, checkValue16(e.data(), e.size(), 36));
    return e;
}

// One directory block: the tag, a 50- or 45-bit head, then the LZ body or the bytes.
std::vector<std::uint8_t> directoryBlock(const std::vector<std::uint8_t>& decoded, bool stored) {
    std::vector<std::uint8_t> body;
    if (!stored) {
        BitWriter out;
        out.putBits(1, 5);
        out.putBits(static_cast<std::uint32_t>(decoded.size()), 20);
        out.putBits(0, 20);
        out.putBits(0, 5);
        LzEncoder lz(decoded.data(), decoded.size());
        lz.encodeBlock(out, 0, decoded.size(), 0);
        body = std::move(out.bytes());
    }
    if (stored || body.size() >= decoded.size() + 6) {
        BitWriter out;
        out.putBits(0, 5);
        out.putBits(static_cast<std::uint32_t>(decoded.size()), 20);
        out.putBits(0, 20);
        out.putBytes(decoded.data(), decoded.size());
        body = std::move(out.bytes());
    }
    patchCompressedSize(body, static_cast<std::uint32_t>(body.size()));
    static const std::uint8_t tag[6] = {'I', 'M', 'P', 'D', 'E', 0};
    body.insert(body.begin(), tag, tag + 6);
    return body;
}

void writeDirectory(std::vector<std::uint8_t>& archive, const std::vector<PackInput>& inputs,
                    const std::vector<Entry>& entries, bool stored) {
    std::vector<std::uint8_t> pending;
    auto flush = [&]() {
        if (pending.empty()) return;
        std::vector<std::uint8_t> block = directoryBlock(pending, stored);
        archive.insert(archive.end(), block.begin(), block.end());
        pending.clear();
    };
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        std::vector<std::uint8_t> e = directoryEntry(inputs[i], entries[i]);
        if (pending.size() + e.size() > kDirectoryBlockLimit) flush();  // entries never span blocks
        pending.insert(pending.end(), e.begin(), e.end());
    }
    flush();
}

// A ".." part would let an extracting tool write outside its target folder.
bool climbsOut(const std::string& name) {
    std::size_t start = 0;
    for (;;) {
        std::size_t end = name.find_first_of("\\/", start);
        if (name.compare(start, end == std::string::npos ? std::string::npos : end - start, "..") == 0) return true;
        if (end == std::string::npos) return false;
        start = end + 1;
    }
}

}  // namespace

std::string checkPackInputs(const std::vector<PackInput>& inputs, const PackOptions& options) {
    if (options.comment.size() > kMaxComment) return "comment longer than 4175 bytes";
    if (options.blockSize > kMaxBlockSize) return "block size above 1048569";
    std::uint64_t total = kHeaderSize + 4 + options.comment.size();
    for (const PackInput& input : inputs) {
        if (input.memberName.empty()) return "empty member name";
        if (input.memberName.size() > kMaxMemberName) return "member name longer than 259 bytes: " + input.memberName;
        if (climbsOut(input.memberName)) return "member name climbs out of the archive root: " + input.memberName;
        total += input.bytes.size() + 2 * (kEntrySize + kLocalHeaderSize + input.memberName.size()) + 64;
    }
    // Offsets and sizes are 32-bit; stored data is the worst case.
    if (total + total / 64 > 0xFFFFFFFFull) return "archive would exceed 4 GiB";
    return "";
}

std::vector<std::uint8_t> packArchive(const std::vector<PackInput>& inputs, const PackOptions& options) {
    if (!checkPackInputs(inputs, options).empty()) return {};
    std::vector<std::uint8_t> archive(kHeaderSize, 0);
    put32(archive, 0, 0x0A504D49);  // "IMP\n"
    put32(archive, 8, static_cast<std::uint32_t>(inputs.size()));
    if (!options.comment.empty()) {
        put32(archive, 16, static_cast<std::uint32_t>(archive.size()));
        std::size_t at = archive.size();
        archive.resize(at + 4);
        put16(archive, at, static_cast<std::uint32_t>(options.comment.size()));
        put16(archive, at + 2, checkValue16(options.comment.data(), options.comment.size(), options.comment.size()));
        archive.insert(archive.end(), options.comment.begin(), options.comment.end());
    }
    std::vector<Entry> entries(inputs.size());
    if (options.solid)
        writeSolidStream(archive, inputs, options, entries);
    else
        writeSeparateStreams(archive, inputs, options, entries);
    put32(archive, 4, static_cast<std::uint32_t>(archive.size()));
    writeDirectory(archive, inputs, entries, options.storedDirectory);
    put16(archive, 40, checkValue16(archive.data(), kHeaderSize, 40));
    if (archive.size() < kMinArchiveSize) archive.resize(kMinArchiveSize, 0);
    return archive;
}

bool writeArchive(const std::string& path, const std::vector<PackInput>& inputs, const PackOptions& options,
                  std::string* error) {
    std::string problem = checkPackInputs(inputs, options);
    if (!problem.empty()) {
        if (error) *error = problem;
        return false;
    }
    std::vector<std::uint8_t> archive = packArchive(inputs, options);
    // Written beside the target and renamed over it only once complete and closed, so
    // a full disk or a failed write never replaces a sound archive by a truncated one.
    const std::string partial = path + ".partial";
    std::FILE* file = std::fopen(partial.c_str(), "wb");
    if (!file) {
        if (error) *error = "cannot create " + partial + ": " + std::strerror(errno);
        return false;
    }
    bool ok = std::fwrite(archive.data(), 1, archive.size(), file) == archive.size() && std::fflush(file) == 0;
    int writeError = errno;
    ok = std::fclose(file) == 0 && ok;
    std::error_code ec;
    if (ok) std::filesystem::rename(partial, path, ec);
    if (ok && !ec) return true;
    std::remove(partial.c_str());
    if (error) *error = "cannot write " + path + ": " + (ec ? ec.message() : std::strerror(writeError ? writeError : errno));
    return false;
}
