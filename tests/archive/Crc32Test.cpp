#include "archive/ArchiveResult.h"
#include "archive/Crc32.h"
#include "archive/Crc32Folding.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

TEST(Crc32, KnownValuesAndChaining) {
    EXPECT_EQ(crc32("", 0), 0u);
    EXPECT_EQ(crc32("123456789", 9), 0xCBF43926u);  // the catalogue check value
    EXPECT_EQ(crc32("a", 1), 0xE8B7BE43u);
    // Chaining over any split equals the whole, including splits inside the 8-byte stride.
    std::vector<unsigned char> bytes(1000);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i * 7 + (i >> 3));
    std::uint32_t whole = crc32(bytes.data(), bytes.size());
    for (std::size_t cut : {0, 1, 7, 8, 9, 333, 999, 1000}) {
        std::uint32_t part = crc32(bytes.data(), cut);
        EXPECT_EQ(crc32(bytes.data() + cut, bytes.size() - cut, part), whole) << cut;
    }
    // The slicing path agrees with a plain bitwise CRC.
    std::uint32_t reg = 0xFFFFFFFFu;
    for (unsigned char b : bytes) {
        reg ^= b;
        for (int k = 0; k < 8; ++k) reg = (reg & 1) ? 0xEDB88320u ^ (reg >> 1) : reg >> 1;
    }
    EXPECT_EQ(~reg, whole);
}

namespace {

std::uint32_t bitwiseRegister(std::uint32_t reg, const unsigned char* p, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        reg ^= p[i];
        for (int k = 0; k < 8; ++k) reg = (reg & 1) ? 0xEDB88320u ^ (reg >> 1) : reg >> 1;
    }
    return reg;
}

}  // namespace

// Every length around the table/folding threshold and the 16- and 64-byte strides,
// at every alignment, from a register that is not the usual start: the update and
// the copying update agree with the bitwise CRC, and the copy writes exactly n bytes.
TEST(Crc32, FastPathsAgreeWithBitwiseAtAnyLengthAndAlignment) {
    std::vector<unsigned char> bytes(600);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>((i * 131) ^ (i >> 2));
    for (std::size_t offset = 0; offset < 16; offset += 3) {
        for (std::size_t n = 0; n + offset <= bytes.size(); n += (n < 300 ? 1 : 37)) {
            const unsigned char* p = bytes.data() + offset;
            std::uint32_t expected = bitwiseRegister(0x12345678u, p, n);
            ASSERT_EQ(crc32Update(0x12345678u, p, n), expected) << offset << " " << n;
            std::vector<unsigned char> to(n + 32, 0xEE);
            ASSERT_EQ(crc32UpdateCopy(0x12345678u, to.data() + 16, p, n), expected) << offset << " " << n;
            ASSERT_EQ(std::memcmp(to.data() + 16, p, n), 0);
            for (std::size_t i = 0; i < 16; ++i) ASSERT_EQ(to[i] + to[n + 16 + i], 2 * 0xEE);
        }
    }
    if (!crc32_folding::available()) GTEST_SKIP() << "no carry-less multiply here: the table path was tested";
    // The folding step alone covers whole 16-byte blocks and leaves the rest.
    for (std::size_t n : {64, 79, 80, 127, 128, 129, 500}) {
        std::uint32_t expected = bitwiseRegister(0xFFFFFFFFu, bytes.data(), n & ~std::size_t(15));
        EXPECT_EQ(crc32_folding::advance(0xFFFFFFFFu, nullptr, bytes.data(), n), expected) << n;
    }
}

TEST(Crc32, CheckValueIgnoresItsOwnField) {
    unsigned char record[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    unsigned char zeroed[10];
    std::memcpy(zeroed, record, 10);
    zeroed[4] = zeroed[5] = 0;
    EXPECT_EQ(checkValue16(record, 10, 4), static_cast<std::uint16_t>(crc32(zeroed, 10)));
    record[4] = 0xAA;  // the field's content does not matter
    EXPECT_EQ(checkValue16(record, 10, 4), static_cast<std::uint16_t>(crc32(zeroed, 10)));
    record[0] ^= 1;    // any other bit does
    EXPECT_NE(checkValue16(record, 10, 4), static_cast<std::uint16_t>(crc32(zeroed, 10)));
    EXPECT_EQ(checkValue16(record, 10, 10), static_cast<std::uint16_t>(crc32(record, 10)));
}

TEST(ArchiveResult, StandardTexts) {
    EXPECT_STREQ(resultText(-2), "Not an IMP archive.\n");
    EXPECT_STREQ(resultText(-3), "Archive is damaged.\n");
    EXPECT_STREQ(resultText(-4), "Archive directory is damaged.\n");
    EXPECT_STREQ(resultText(-5), "Unexpected end of file.\n");
    EXPECT_STREQ(resultText(-7), "Deciphering not supported.\n");
    EXPECT_STREQ(resultText(-8), "Multiple-volume IMP archives not supported.\n");
    EXPECT_STREQ(resultText(-10), "Out of memory.\n");
    char text[80];
    versionText(text, sizeof text, 2, 5);
    EXPECT_STREQ(text, "This archive requires UnIMP version 2.5 or higher");
}
