// How LZ symbols code lengths and distances: the tables both parsers and the
// block writer share.
#pragma once

#include <cstdint>

namespace lz {

constexpr std::uint32_t kMaxDistance = 1048576;
constexpr std::uint32_t kMaxLength = 33026;

struct LengthCode {
    std::uint16_t symbol;
    std::uint8_t bits;
    std::uint32_t extra;
};

inline LengthCode lengthCode(std::uint32_t length) {
    if (length <= 10) return {static_cast<std::uint16_t>(255 + length), 0, 0};
    if (length >= 259) return {286, 15, length - 259};
    static const std::uint16_t bases[20] = {11, 13, 15, 17, 19, 23, 27, 31, 35, 43,
                                            51, 59, 67, 83, 99, 115, 131, 163, 195, 227};
    unsigned slot = 19;
    while (bases[slot] > length) --slot;
    return {static_cast<std::uint16_t>(266 + slot), static_cast<std::uint8_t>(1 + slot / 4), length - bases[slot]};
}

// Distance symbol 2..41 for an explicit distance, with its extra bits.
inline void explicitDistance(std::uint32_t distance, std::uint8_t& symbol, std::uint8_t& bits, std::uint32_t& extra) {
    if (distance <= 4) {
        symbol = static_cast<std::uint8_t>(distance + 1);
        bits = 0;
        extra = 0;
        return;
    }
    std::uint32_t v = distance - 1;
    unsigned top = 31 - static_cast<unsigned>(__builtin_clz(v));
    unsigned second = (v >> (top - 1)) & 1;
    symbol = static_cast<std::uint8_t>(6 + 2 * (top - 2) + second);
    bits = static_cast<std::uint8_t>(top - 1);
    extra = v - ((2u + second) << (top - 1));
}

inline unsigned alphabetFor(std::uint32_t length) { return length == 2 ? 1 : length == 3 ? 2 : 0; }

// Largest explicit distance each alphabet can code.
constexpr std::uint32_t kAlphabetReach[3] = {kMaxDistance, 64, 8192};


}  // namespace lz
