#include "archive/Crc32.h"

#include "archive/Crc32Folding.h"

#include <array>
#include <cstring>

namespace {

// Sixteen tables for slicing-by-16: table[0] is the classic byte table, table[k]
// advances a byte that still has k more bytes behind it.
using CrcTables = std::array<std::array<std::uint32_t, 256>, 16>;

constexpr CrcTables makeTables() {
    CrcTables t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[0][n] = c;
    }
    for (std::uint32_t n = 0; n < 256; ++n)
        for (int k = 1; k < 16; ++k) t[k][n] = t[0][t[k - 1][n] & 0xFF] ^ (t[k - 1][n] >> 8);
    return t;
}

constexpr CrcTables kTables = makeTables();

// Little-endian 32-bit load, byte by byte so it holds on any host; compilers make
// it one load.
inline std::uint32_t le32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

// Advances the register over 16 bytes.
inline std::uint32_t step16(std::uint32_t reg, const std::uint8_t* p) {
    const auto& t = kTables;
    std::uint32_t a = reg ^ le32(p), b = le32(p + 4), c = le32(p + 8), d = le32(p + 12);
    return t[15][a & 0xFF] ^ t[14][(a >> 8) & 0xFF] ^ t[13][(a >> 16) & 0xFF] ^ t[12][a >> 24] ^
           t[11][b & 0xFF] ^ t[10][(b >> 8) & 0xFF] ^ t[9][(b >> 16) & 0xFF] ^ t[8][b >> 24] ^
           t[7][c & 0xFF] ^ t[6][(c >> 8) & 0xFF] ^ t[5][(c >> 16) & 0xFF] ^ t[4][c >> 24] ^
           t[3][d & 0xFF] ^ t[2][(d >> 8) & 0xFF] ^ t[1][(d >> 16) & 0xFF] ^ t[0][d >> 24];
}

// Below this the folding's set-up costs more than the table saves.
constexpr std::size_t kFoldingMin = 64;

}  // namespace

std::uint32_t crc32Update(std::uint32_t reg, const void* data, std::size_t n) {
    const std::uint8_t* p = static_cast<const std::uint8_t*>(data);
    if (n >= kFoldingMin && crc32_folding::available()) {
        reg = crc32_folding::advance(reg, nullptr, p, n);
        p += n & ~std::size_t(15);
        n &= 15;
    }
    const auto& t = kTables;
    while (n >= 16) {
        reg = step16(reg, p);
        p += 16;
        n -= 16;
    }
    while (n--) reg = t[0][(reg ^ *p++) & 0xFF] ^ (reg >> 8);
    return reg;
}

std::uint32_t crc32UpdateCopy(std::uint32_t reg, void* to, const void* from, std::size_t n) {
    std::uint8_t* d = static_cast<std::uint8_t*>(to);
    const std::uint8_t* p = static_cast<const std::uint8_t*>(from);
    if (n >= kFoldingMin && crc32_folding::available()) {
        reg = crc32_folding::advance(reg, d, p, n);
        std::size_t whole = n & ~std::size_t(15);
        p += whole;
        d += whole;
        n &= 15;
    }
    while (n >= 16) {
        std::memcpy(d, p, 16);
        reg = step16(reg, p);
        p += 16;
        d += 16;
        n -= 16;
    }
    while (n--) {
        reg = kTables[0][(reg ^ *p) & 0xFF] ^ (reg >> 8);
        *d++ = *p++;
    }
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
