#include "archive/Crc32.h"

#include <array>

namespace {

// Eight tables for slicing-by-8: table[0] is the classic byte table, table[k]
// advances a byte that still has k more bytes behind it.
using CrcTables = std::array<std::array<std::uint32_t, 256>, 8>;

constexpr CrcTables makeTables() {
    CrcTables t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[0][n] = c;
    }
    for (std::uint32_t n = 0; n < 256; ++n)
        for (int k = 1; k < 8; ++k) t[k][n] = t[0][t[k - 1][n] & 0xFF] ^ (t[k - 1][n] >> 8);
    return t;
}

constexpr CrcTables kTables = makeTables();

}  // namespace

std::uint32_t crc32Update(std::uint32_t reg, const void* data, std::size_t n) {
    const std::uint8_t* p = static_cast<const std::uint8_t*>(data);
    while (n >= 8) {
        std::uint32_t lo = reg ^ (std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                                  std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24);
        reg = kTables[7][lo & 0xFF] ^ kTables[6][(lo >> 8) & 0xFF] ^
              kTables[5][(lo >> 16) & 0xFF] ^ kTables[4][lo >> 24] ^ kTables[3][p[4]] ^
              kTables[2][p[5]] ^ kTables[1][p[6]] ^ kTables[0][p[7]];
        p += 8;
        n -= 8;
    }
    while (n--) reg = kTables[0][(reg ^ *p++) & 0xFF] ^ (reg >> 8);
    return reg;
}

std::uint32_t crc32(const void* data, std::size_t n, std::uint32_t previous) {
    return ~crc32Update(~previous, data, n);
}

std::uint16_t checkValue16(const void* record, std::size_t n, std::size_t checkOffset) {
    const std::uint8_t* p = static_cast<const std::uint8_t*>(record);
    if (checkOffset >= n) return std::uint16_t(crc32(p, n));
    static const std::uint8_t zeros[2] = {0, 0};
    std::size_t fieldEnd = checkOffset + 2 < n ? checkOffset + 2 : n;
    std::uint32_t crc = crc32(p, checkOffset);
    crc = crc32(zeros, fieldEnd - checkOffset, crc);
    crc = crc32(p + fieldEnd, n - fieldEnd, crc);
    return std::uint16_t(crc);
}
