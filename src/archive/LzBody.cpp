// The LZ body of a block: groups of prefix-code tables switched by symbol 256,
// literals, matches with two remembered distances, and delta markers.
#include "archive/ArchiveResult.h"
#include "archive/StreamDecoder.h"

#include <cstring>

using namespace archive_result;
using namespace code_lengths;

namespace {

// Match lengths of literal/length symbols 257 to 286: base and extra bits, looked
// up rather than branched on.
constexpr std::uint16_t kLengthBase[30] = {2,  3,  4,  5,  6,   7,   8,   9,   10,  11,
                                           13, 15, 17, 19, 23,  27,  31,  35,  43,  51,
                                           59, 67, 83, 99, 115, 131, 163, 195, 227, 259};
constexpr std::uint8_t kLengthExtra[30] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2,
                                           2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 15};

// Distances of distance symbols 2 to 41: base and extra bits (symbols 0 and 1 are
// the remembered distances).
struct DistanceSlots {
    std::uint32_t base[42];
    std::uint8_t extra[42];
};

constexpr DistanceSlots makeDistanceSlots() {
    DistanceSlots t{};
    for (int d = 2; d <= 5; ++d) t.base[d] = static_cast<std::uint32_t>(d - 1);
    for (int d = 6; d < 42; ++d) {
        int j = (d - 6) >> 1;
        t.base[d] = ((d & 1) ? 3u << (j + 1) : 1u << (j + 2)) + 1;
        t.extra[d] = static_cast<std::uint8_t>(j + 1);
    }
    return t;
}

constexpr DistanceSlots kDistanceSlots = makeDistanceSlots();

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

// Match length of literal/length symbol s (257 to 286).
inline std::uint32_t matchLength(BitCursor& c, int s) {
    unsigned e = kLengthExtra[s - 257];
    std::uint32_t length = kLengthBase[s - 257] + BitReader::peek(c, e);
    BitReader::drop(c, e);
    return length;
}

// Distance of distance symbol d, with the two remembered distances. The cursor
// must hold the extra bits (at most 18).
inline std::uint32_t matchDistance(BitCursor& c, int d, std::uint32_t& recent0, std::uint32_t& recent1) {
    if (d == 0) return recent0;
    if (d == 1) {
        std::uint32_t distance = recent1;
        recent1 = recent0;
        recent0 = distance;
        return distance;
    }
    unsigned e = kDistanceSlots.extra[d];
    std::uint32_t distance = kDistanceSlots.base[d] + BitReader::peek(c, e);
    BitReader::drop(c, e);
    // Only coded distances (symbols from 6 on) are remembered.
    bool remember = d >= 6;
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
    if (!t.literal.build(g, kLiteralCount, PrefixCode::kLiteralBits)) return kDamaged;
    if (!t.distance[0].build(g + kDistance0At, kDistance0Count, PrefixCode::kDistanceBits)) return kDamaged;
    // An alphabet the block does not declare has no code: using it ends the body.
    if (alphabets >= 2) {
        if (!t.distance[1].build(g + kDistance1At, kDistance1Count, PrefixCode::kDistanceBits)) return kDamaged;
    } else {
        t.distance[1].buildEmpty(PrefixCode::kDistanceBits);
    }
    if (alphabets == 3 && groupSize > kFixedGroupSize) {
        if (!t.distance[2].build(g + kDistance2At, kDistance2Count, PrefixCode::kDistanceBits)) return kDamaged;
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
        std::uint32_t length = matchLength(c, s);
        BitReader::refill(c, bits_);  // distance code and its extra bits: at most 34
        int alphabet = length == 2 ? 1 : (length == 3 && alphabets == 3 ? 2 : 0);
        int d = distanceCode[alphabet]->decode<PrefixCode::kDistanceBits>(c);
        if (d < 0) break;
        std::uint32_t distance = matchDistance(c, d, recent0, recent1);
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
