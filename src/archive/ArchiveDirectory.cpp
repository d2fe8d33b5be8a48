#include "archive/ArchiveDirectory.h"

#include "archive/ArchiveResult.h"
#include "archive/Crc32.h"

#include <cstdio>
#include <cstring>
#include <new>

using namespace archive_result;

namespace {

constexpr std::uint8_t kSignature[4] = {'I', 'M', 'P', '\n'};
constexpr std::uint8_t kBlockTag[6] = {'I', 'M', 'P', 'D', 'E', 0};
constexpr std::size_t kSearchLimit = 32768;
constexpr std::uint32_t kCommentLimit = 4175;
constexpr std::uint16_t kNewestVersion = 0x10A;

std::uint16_t le16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }
std::uint32_t le32(const std::uint8_t* p) {
    return p[0] | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

}  // namespace

// The archive may follow a program (a self-extractor): look for the signature near the start.
int ArchiveDirectory::findArchiveStart() {
    std::uint8_t head[4];
    if (source_.readAt(0, head, 4) < 4) return kUnexpectedEnd;
    start_ = 0;
    if (std::memcmp(head, kSignature, 4) == 0) return 0;
    std::uint8_t* buffer = new (std::nothrow) std::uint8_t[kSearchLimit];
    if (!buffer) return kOutOfMemory;
    std::size_t got = source_.readAt(0, buffer, kSearchLimit);
    int result = kNotImp;
    for (std::size_t i = 0; got >= kHeaderSize && i + (kHeaderSize - 1) < got; ++i) {
        if (std::memcmp(buffer + i, kSignature, 4) == 0) {
            start_ = i;
            result = 0;
            break;
        }
    }
    delete[] buffer;
    if (result == 0 && source_.size() < start_ + kHeaderSize) return kUnexpectedEnd;
    return result;
}

int ArchiveDirectory::readHeader() {
    std::uint8_t h[kHeaderSize];
    if (source_.readAt(start_, h, kHeaderSize) < kHeaderSize) return kUnexpectedEnd;
    if (checkValue16(h, kHeaderSize, 40) != le16(h + 40)) return kDamaged;
    entryCount_ = le32(h + 8);
    if (entryCount_ == 0) return kNotFound;
    std::uint16_t flags = le16(h + 38);
    if (flags & 1) return kMultiVolume;
    if (flags & 4) return kEnciphered;
    std::uint32_t commentOffset = le32(h + 16);
    if (commentOffset != 0) {
        int result = printComment(commentOffset);
        if (result != 0) return result;
    }
    nextBlock_ = start_ + le32(h + 4);
    if (nextBlock_ > source_.size()) return kUnexpectedEnd;
    return 0;
}

int ArchiveDirectory::printComment(std::uint32_t commentOffset) {
    std::uint64_t at = start_ + commentOffset;
    if (source_.size() < at) return kUnexpectedEnd;
    std::uint8_t head[4];
    if (source_.readAt(at, head, 4) < 4) return kUnexpectedEnd;
    std::uint32_t length = le16(head);
    if (length > kCommentLimit) length = kCommentLimit;
    std::uint8_t text[kCommentLimit];
    if (source_.readAt(at + 4, text, length) < length) return kUnexpectedEnd;
    if (std::uint16_t(crc32(text, length)) != le16(head + 2)) return kDamaged;
    std::fputc('\n', stdout);
    std::fwrite(text, 1, length, stdout);
    std::fputc('\n', stdout);
    return 0;
}

int ArchiveDirectory::open() {
    if (!decoder_.ready()) return kOutOfMemory;
    if (source_.size() < kHeaderSize + 2) return kNotImp;
    int result = findArchiveStart();
    if (result != 0) return result;
    return readHeader();
}

int ArchiveDirectory::readDirectoryBlock() {
    std::uint8_t tag[6];
    if (source_.readAt(nextBlock_, tag, 6) < 6) return kUnexpectedEnd;
    if (std::memcmp(tag, kBlockTag, 6) != 0) return kDirectoryDamaged;
    BitReader& bits = decoder_.bits();
    bits.reset(nextBlock_ + 6);
    std::uint32_t method = bits.readBits(5) & 0xF;
    std::uint32_t decoded = bits.readBits(20);
    std::uint32_t compressed = bits.readBits(20);
    if (method > 1 || decoded > kBlockCapacity) return kDirectoryDamaged;
    // A block that does not get past its own header would be read again and again.
    if (compressed < StreamDecoder::kMinBlockBytes) return kDirectoryDamaged;
    if (method == 1) {
        bits.readBits(5);
        int produced = decoder_.decodeLzBody(block_, 0, decoded, false);
        if (produced < 0) return produced;
        available_ = static_cast<std::uint32_t>(produced);
    } else {
        if (source_.readAt(bits.bytePosition(), block_, decoded) < decoded) return kUnexpectedEnd;
        available_ = decoded;
    }
    used_ = 0;
    nextBlock_ += 6 + std::uint64_t(compressed);
    return 0;
}

int ArchiveDirectory::next(DirectoryEntry& entry) {
    if (entriesRead_ >= entryCount_) return 0;
    if (used_ == available_) {
        int result = readDirectoryBlock();
        if (result != 0) return result;
    }
    const std::uint8_t* e = block_ + used_;
    std::uint32_t left = available_ - used_;
    if (left < kEntrySize) return kDirectoryDamaged;
    entry.version = le16(e);
    if ((entry.version & 0xFFF) > kNewestVersion) return kNotFound;
    entry.commentLength = e[10];
    entry.attributes = e[11];
    entry.streamOffset = le32(e + 4);
    entry.headerOffset = le32(e + 12);
    entry.size = le32(e + 16);
    entry.crc = le32(e + 20);
    std::uint32_t extraLength = le16(e + 24);
    entry.nameLength = le16(e + 26);
    std::uint32_t total = kEntrySize + entry.nameLength + entry.commentLength + extraLength;
    if (total > left) return kDirectoryDamaged;
    if (checkValue16(e, total, 36) != le16(e + 36)) return kDirectoryDamaged;
    entry.name = reinterpret_cast<const char*>(e + kEntrySize);
    used_ += total;
    ++entriesRead_;
    return 1;
}
