#include "archive/ExtractMember.h"

#include "archive/ArchiveDirectory.h"
#include "archive/ArchiveResult.h"
#include "archive/MemberDelivery.h"

#include <cstdio>
#include <cstring>
#include <new>

using namespace archive_result;

namespace {

constexpr std::uint32_t kMaxBlockOutput = (1u << 20) - 1;

bool sameName(const DirectoryEntry& entry, const char* wanted) {
    std::size_t n = std::strlen(wanted);
    if (n != entry.nameLength) return false;
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char a = static_cast<unsigned char>(entry.name[i]);
        unsigned char b = static_cast<unsigned char>(wanted[i]);
        if (a >= 'A' && a <= 'Z') a = static_cast<unsigned char>(a + 32);
        if (b >= 'A' && b <= 'Z') b = static_cast<unsigned char>(b + 32);
        if (a != b) return false;
    }
    return true;
}

int findEntry(ArchiveDirectory& directory, const char* memberName, DirectoryEntry& found) {
    for (;;) {
        int result = directory.next(found);
        // A damaged entry or block ends the search: the member counts as not found.
        if (result <= 0) return kNotFound;
        if ((found.attributes & 1) == 0 && sameName(found, memberName)) return 0;
    }
}

// Every block yields at most 2^20 - 1 bytes and takes at least 6 bytes of the file,
// so a member that ends further into its stream cannot be there in full.
bool memberCanFit(const MemberLocation& m, std::uint64_t fileSize) {
    if (m.firstBlock + StreamDecoder::kMinBlockBytes > fileSize) return false;
    std::uint64_t blocks = (fileSize - m.firstBlock - StreamDecoder::kMinBlockBytes) /
                               StreamDecoder::kMinBlockBytes + 1;
    return std::uint64_t(m.headerOffset) + m.size <= blocks * kMaxBlockOutput;
}

}  // namespace

int extractMemberFromSource(ByteSource& source, const char* memberName, std::uint8_t*& data,
                            std::uint32_t& size, bool* crcMatches) {
    data = nullptr;
    size = 0;
    if (crcMatches) *crcMatches = false;
    if (!memberName) return kNotFound;
    StreamDecoder decoder(source);
    ArchiveDirectory* directory = new (std::nothrow) ArchiveDirectory(source, decoder);
    if (!directory) return kOutOfMemory;
    int result = directory->open();
    DirectoryEntry entry;
    if (result == 0) result = findEntry(*directory, memberName, entry);
    MemberLocation member;
    if (result == 0) {
        member.firstBlock = directory->archiveStart() + entry.streamOffset + 6;
        member.headerOffset = entry.headerOffset;
        member.size = entry.size;
        member.filterWidth = (entry.attributes & 2) ? 2 : (entry.attributes & 4) ? 4 : 0;
    }
    delete directory;
    if (result != 0) return result;
    if (member.size != 0 && !memberCanFit(member, source.size())) return kUnexpectedEnd;

    std::uint32_t crc = 0;
    result = deliverMember(decoder, member, data, size, crc);
    if (result != 0) return result;
    if (crc != entry.crc) std::fputs("File fails CRC error check\n", stderr);
    if (crcMatches) *crcMatches = crc == entry.crc;
    return 0;
}

int extractMember(const char* archivePath, const char* memberName, std::uint8_t*& data,
                  std::uint32_t& size, bool* crcMatches) {
    data = nullptr;
    size = 0;
    if (crcMatches) *crcMatches = false;
    FileSource file;
    if (!archivePath || !file.open(archivePath)) return kNotFound;
    return extractMemberFromSource(file, memberName, data, size, crcMatches);
}

int extractMemberFromMemory(const std::uint8_t* image, std::size_t imageSize,
                            const char* memberName, std::uint8_t*& data, std::uint32_t& size) {
    MemorySource memory(image, imageSize);
    return extractMemberFromSource(memory, memberName, data, size);
}
