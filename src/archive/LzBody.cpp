// The LZ body of a block: groups of prefix-code tables switched by symbol 256,
// literals, matches with two remembered distances, and delta markers.
#include "archive/ArchiveResult.h"
#include "archive/StreamDecoder.h"

#include <cstring>

using namespace archive_result;
using namespace code_lengths;

namespace {

// What the codes decode to, so that a match's base and extra-bit count come out of
// the same table load as its code. Literal/length code: literals and 256 and 287
// as themselves; lengths 257 to 286 as kLengthFlag | extra bits << 9 | base.
constexpr std::uint32_t kLengthFlag = 1u << 16;

struct LiteralValues {
    std::uint32_t value[288];
};

constexpr LiteralValues makeLiteralValues() {
    constexpr std::uint16_t kLengthBase[30] = {2,  3,  4,  5,  6,   7,   8,   9,   10,  11,
                                               13, 15, 17, 19, 23,  27,  31,  35,  43,  51,
                                               59, 67, 83, 99, 115, 131, 163, 195, 227, 259};
    constexpr std::uint8_t kLengthExtra[30] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2,
                                               2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 15};
    LiteralValues t{};
    for (std::uint32_t s = 0; s < 288; ++s) t.value[s] = s;
    for (int i = 0; i < 30; ++i) t.value[257 + i] = kLengthFlag | std::uint32_t(kLengthExtra[i]) << 9 | kLengthBase[i];
    return t;
}

// Distance codes: symbol 0 (the last distance) as 0, symbol 1 (the one before) as
// kSecondRecent, symbols 2 to 41 as extra bits << 20 | base. Only coded distances
// (symbols from 6 on, the ones with extra bits) are remembered.
constexpr std::uint32_t kSecondRecent = 31u << 20;

struct DistanceValues {
    std::uint32_t value[42];
};

constexpr DistanceValues makeDistanceValues() {
    DistanceValues t{};
    t.value[1] = kSecondRecent;
    for (int d = 2; d <= 5; ++d) t.value[d] = static_cast<std::uint32_t>(d - 1);
    for (int d = 6; d < 42; ++d) {
        std::uint32_t j = static_cast<std::uint32_t>(d - 6) >> 1;
        std::uint32_t base = ((d & 1) ? 3u << (j + 1) : 1u << (j + 2)) + 1;
        t.value[d] = (j + 1) << 20 | base;
    }
    return t;
}

constexpr LiteralValues kLiteralValues = makeLiteralValues();
constexpr DistanceValues kDistanceValues = makeDistanceValues();

// Copies a match that may overlap its own output. The window's slack takes the
// up to 15 bytes that the wide copies write past `length`.
inline void copyMatch(std::uint8_t* out, std::uint32_t distance, std::uint32_t length) {
    const std::uint8_t* from = out - distance;
    if (distance >= 16) {
        for (std::uint32_t i = 0; i < length; i += 16) std::memcpy(out + i, from + i, 16);
    } else if (distance >= 8) {
        for (std::uint32_t i = 0; i < length; i += 8) std::memcpy(out + i, from + i, 8);
    } else if (distance == 1) {
        std::uint64_t pattern = *from * 0x0101010101010101ull;
        for (std::uint32_t i = 0; i < length; i += 8) std::memcpy(out + i, &pattern, 8);
    } else {
        // A short period: lay down the first repeats byte by byte until they span a
        // multiple of the period of at least 8 bytes, then copy 8 bytes at a time
        // from that far back, which repeats the same pattern.
        static constexpr std::uint8_t kSpan[8] = {0, 8, 8, 9, 8, 10, 12, 14};
        std::uint32_t span = kSpan[distance];
        std::uint32_t head = length < span ? length : span;
        for (std::uint32_t i = 0; i < head; ++i) out[i] = from[i];
        for (std::uint32_t i = span; i < length; i += 8) std::memcpy(out + i, out + i - span, 8);
    }
}

// Match length of a literal/length value with kLengthFlag.
inline std::uint32_t matchLength(BitCursor& c, std::uint32_t v) {
    unsigned e = (v >> 9) & 15;
    std::uint32_t length = (v & 511) + BitReader::peek(c, e);
    BitReader::drop(c, e);
    return length;
}

// Distance of a distance value, with the two remembered distances. The cursor
// must hold the extra bits (at most 18).
inline std::uint32_t matchDistance(BitCursor& c, std::uint32_t v, std::uint32_t& recent0, std::uint32_t& recent1) {
    if (v == 0) return recent0;
    if (v == kSecondRecent) {
        std::uint32_t distance = recent1;
        recent1 = recent0;
        recent0 = distance;
        return distance;
    }
    unsigned e = v >> 20;
    std::uint32_t distance = (v & 0xFFFFF) + BitReader::peek(c, e);
    BitReader::drop(c, e);
    bool remember = e != 0;
    recent1 = remember ? recent0 : recent1;
    recent0 = remember ? distance : recent0;
    return distance;
}

}  // namespace

// Builds the codes of the next group: 1, or 0 when all groups are used, or -3.
int StreamDecoder::switchLzGroup(int& group, int groups, int groupSize, int alphabets,
                                 const std::uint8_t* lengths) {
    if (group >= groups) return 0;
    const std::uint8_t* g = lengths + group * groupSize;
    ++group;
    DecoderTables& t = *tables_;
    if (!t.literal.build(g, kLiteralCount, PrefixCode::kLiteralBits, kLiteralValues.value)) return kDamaged;
    if (!t.distance[0].build(g + kDistance0At, kDistance0Count, PrefixCode::kDistanceBits,
                             kDistanceValues.value)) return kDamaged;
    // An alphabet the block does not declare has no code: using it ends the body.
    if (alphabets >= 2) {
        if (!t.distance[1].build(g + kDistance1At, kDistance1Count, PrefixCode::kDistanceBits,
                                 kDistanceValues.value)) return kDamaged;
    } else {
        t.distance[1].buildEmpty(PrefixCode::kDistanceBits);
    }
    if (alphabets == 3 && groupSize > kFixedGroupSize) {
        if (!t.distance[2].build(g + kDistance2At, kDistance2Count, PrefixCode::kDistanceBits,
                                 kDistanceValues.value)) return kDamaged;
    } else {
        t.distance[2].buildEmpty(PrefixCode::kDistanceBits);
    }
    return 1;
}

int StreamDecoder::decodeLzBody(std::uint8_t* window, std::uint32_t history, std::uint32_t size,
                                bool withDeltas) {
    if (withDeltas) deltaCount_ = 0;
    int alphabets = static_cast<int>(bits_.readBits(2));
    if (alphabets == 0) return kDamaged;
    int groups = static_cast<int>(bits_.readBits(6));
    int groupSize = alphabets == 3 ? 372 : 344;
    std::uint8_t* lengths = tables_->lengths;
    int result = readCodeLengths(bits_, tables_->precode, lengths, groupSize, groups, history + size);
    if (result != 0) return result;
    if (groups == 0) groupSize = kFixedGroupSize;
    const int groupCount = groups == 0 ? 1 : groups;

    const PrefixCode* distanceCode[3] = {&tables_->distance[0], &tables_->distance[1],
                                         &tables_->distance[2]};
    std::uint8_t* const start = window + history;
    std::uint8_t* const end = start + size;
    std::uint8_t* out = start;
    std::uint32_t recent0 = 0, recent1 = 0;
    int group = 0;
    int markers = 0;
    int switched = switchLzGroup(group, groupCount, groupSize, alphabets, lengths);
    if (switched < 0) return switched;
    const PrefixCode* const literal = &tables_->literal;

    BitCursor c;
    c.take(bits_.cursor);
    while (out < end) {
        // 56 bits cover two symbols of at most 16 bits, or one symbol with its
        // length bits; the distance gets a refill of its own.
        BitReader::refill(c, bits_);
        int s = literal->decode<PrefixCode::kLiteralBits>(c);
        if (s < 256) {
            if (s < 0) break;
            *out++ = static_cast<std::uint8_t>(s);
            if (out == end) break;
            s = literal->decode<PrefixCode::kLiteralBits>(c);
            if (s < 256) {
                if (s < 0) break;
                *out++ = static_cast<std::uint8_t>(s);
                continue;
            }
        }
        if (s == 256) {
            switched = switchLzGroup(group, groupCount, groupSize, alphabets, lengths);
            if (switched < 0) return switched;
            if (switched == 0) break;
            continue;
        }
        if (s == 287) {
            std::uint32_t k = BitReader::peek(c, 3);
            BitReader::drop(c, 3);
            // A sound body never has more markers than the table holds.
            if (++markers > kMaxDeltaRecords) return kDamaged;
            if (withDeltas) {
                deltaPosition_[deltaCount_] = static_cast<std::uint32_t>(out - window);
                deltaDistance_[deltaCount_++] = static_cast<std::uint8_t>(k);
            }
            continue;
        }
        std::uint32_t length = matchLength(c, static_cast<std::uint32_t>(s));
        BitReader::refill(c, bits_);  // distance code and its extra bits: at most 34
        int alphabet = length == 2 ? 1 : (length == 3 && alphabets == 3 ? 2 : 0);
        int d = distanceCode[alphabet]->decode<PrefixCode::kDistanceBits>(c);
        if (d < 0) break;
        std::uint32_t distance = matchDistance(c, static_cast<std::uint32_t>(d), recent0, recent1);
        if (distance > static_cast<std::uint32_t>(out - window)) {
            // Too far back: the match is dropped. Past the end of the input such
            // matches could repeat forever, so the body ends there.
            if (bits_.overrun(c.next, c.count)) break;
            continue;
        }
        std::uint32_t room = static_cast<std::uint32_t>(end - out);
        if (length > room) length = room;
        copyMatch(out, distance, length);
        out += length;
    }
    bits_.cursor.take(c);
    return static_cast<int>(out - start);
}
