#include "archive/MemberDelivery.h"

#include "archive/Crc32.h"

#include "archive/ArchiveResult.h"

#include <cstring>
#include <new>

namespace {

constexpr std::uint32_t kLocalHeaderSize = 11;
// The output is taken whole up to this size (one allocation keeps honest members as
// fast as ever) and beyond it doubles only as bytes really arrive: a damaged entry's
// size claim can cost at most this much memory.
constexpr std::uint32_t kFirstOutputCapacity = 16 * 1024 * 1024;

std::uint32_t translateOperand(std::uint32_t v, std::uint32_t f, std::uint32_t size, int width) {
    if (width == 2) return (v - f) & 0xFFFF;
    std::int32_t signedV = static_cast<std::int32_t>(v);
    if (signedV < 0 && std::int64_t(signedV) >= -std::int64_t(f)) return size - 1 - v - f;
    if (v < size) return v - f;
    return v;
}

// Where the member's bytes are in the decoded stream and how far delivery got.
struct Progress {
    std::uint8_t header[kLocalHeaderSize];
    std::uint32_t headerHave = 0;
    std::uint32_t variableLeft = 0;
    std::uint64_t wanted = 0;      // Q
    std::uint32_t received = 0;    // member bytes copied in
    std::uint32_t final = 0;       // member bytes through the filter and the CRC
    std::uint32_t crc = 0xFFFFFFFFu;
    std::uint8_t* buffer = nullptr;
    std::uint32_t capacity = 0;
};

// Makes room for `needed` member bytes, never more than the member's size.
bool reserveOutput(Progress& p, std::uint64_t needed, std::uint32_t size) {
    if (needed <= p.capacity) return true;
    std::uint64_t grown = std::uint64_t(p.capacity) * 2;
    if (grown < kFirstOutputCapacity) grown = kFirstOutputCapacity;
    if (grown < needed) grown = needed;
    if (grown > size) grown = size;
    std::uint8_t* bigger = new (std::nothrow) std::uint8_t[grown];
    if (!bigger) return false;
    if (p.received) std::memcpy(bigger, p.buffer, p.received);
    delete[] p.buffer;
    p.buffer = bigger;
    p.capacity = static_cast<std::uint32_t>(grown);
    return true;
}

// Consumes what the current block holds from Q on. False when the output cannot grow.
bool takeFromBlock(const StreamDecoder& decoder, const MemberLocation& member, Progress& p) {
    const std::uint64_t blockEnd = decoder.blockOffset() + decoder.blockSize();
    if (p.wanted < decoder.blockOffset() || p.wanted >= blockEnd) return true;
    const std::uint8_t* at = decoder.blockData() + (p.wanted - decoder.blockOffset());
    std::uint64_t atHand = blockEnd - p.wanted;
    if (p.headerHave < kLocalHeaderSize) {
        std::uint64_t n = kLocalHeaderSize - p.headerHave;
        if (n > atHand) n = atHand;
        std::memcpy(p.header + p.headerHave, at, n);
        p.headerHave += std::uint32_t(n);
        at += n;
        atHand -= n;
        p.wanted += n;
        if (p.headerHave < kLocalHeaderSize) return true;
        p.variableLeft = p.header[4] | std::uint32_t(p.header[5]) << 8;
    }
    if (p.variableLeft > 0) {
        std::uint64_t n = p.variableLeft < atHand ? p.variableLeft : atHand;
        p.variableLeft -= std::uint32_t(n);
        at += n;
        atHand -= n;
        p.wanted += n;
        if (p.variableLeft > 0) return true;
    }
    std::uint64_t n = member.size - p.received;
    if (n > atHand) n = atHand;
    if (n == 0) return true;  // nothing new: the buffer may not even exist yet
    if (!reserveOutput(p, p.received + n, member.size)) return false;
    if (member.filterWidth == 0) {
        // Copy and checksum in one pass over the bytes.
        p.crc = crc32UpdateCopy(p.crc, p.buffer + p.received, at, n);
        p.received += std::uint32_t(n);
        p.final = p.received;
        p.wanted += n;
        return true;
    }
    std::memcpy(p.buffer + p.received, at, n);
    p.received += std::uint32_t(n);
    p.wanted += n;
    std::uint32_t done = filterCallAddresses(p.buffer, p.final, p.received, member.size, member.filterWidth);
    p.crc = crc32Update(p.crc, p.buffer + p.final, done - p.final);
    p.final = done;
    return true;
}

}  // namespace

std::uint32_t filterCallAddresses(std::uint8_t* m, std::uint32_t from, std::uint32_t available,
                                  std::uint32_t size, int width) {
    const std::uint32_t w = static_cast<std::uint32_t>(width);
    std::uint32_t q = from;
    while (q < available) {
        // Only an operand that lies wholly inside the member is translated.
        if (m[q] != 0xE8 || std::uint64_t(q) + w > std::uint64_t(size) - 1 || size == 0) {
            ++q;
            continue;
        }
        if (q + w >= available) break;  // operand not complete yet: hold back from here
        std::uint8_t* op = m + q + 1;
        std::uint32_t f = q + 1;
        if (w == 2) {
            std::uint32_t v = translateOperand(op[0] | std::uint32_t(op[1]) << 8, f, size, 2);
            op[0] = std::uint8_t(v);
            op[1] = std::uint8_t(v >> 8);
        } else {
            std::uint32_t v = op[0] | std::uint32_t(op[1]) << 8 | std::uint32_t(op[2]) << 16 |
                              std::uint32_t(op[3]) << 24;
            v = translateOperand(v, f, size, 4);
            for (int i = 0; i < 4; ++i) op[i] = std::uint8_t(v >> (8 * i));
        }
        q += 1 + w;
    }
    return q;
}

int deliverMember(StreamDecoder& decoder, const MemberLocation& member, std::uint8_t*& buffer,
                  std::uint32_t& delivered, std::uint32_t& crc) {
    buffer = nullptr;
    delivered = 0;
    crc = 0;
    if (member.size == 0) return 0;
    decoder.start(member.firstBlock);
    Progress p;
    p.wanted = member.headerOffset;
    int result = 0;
    while (p.received < member.size) {
        if (decoder.hasBlock() && !takeFromBlock(decoder, member, p)) {
            result = archive_result::kOutOfMemory;
            break;
        }
        if (p.received >= member.size) break;
        // A stream that ends before the member is complete cannot give what the entry claims.
        result = decoder.streamEnded() ? archive_result::kUnexpectedEnd : decoder.decodeBlock();
        if (result != 0) break;
    }
    buffer = p.buffer;
    delivered = p.received;
    if (delivered == 0) {
        delete[] buffer;
        buffer = nullptr;
    }
    if (result == 0) crc = ~p.crc;
    return result;
}
