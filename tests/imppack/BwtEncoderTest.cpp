// The BWT coder's choices: tables the reader can use for every group, fewer bits
// than one table where the content changes, blocks that end where the kind of
// content changes, and mixed blocks that decode.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestCorpus.h"
#include "imppack/BwtEncoder.h"
#include "imppack/HuffmanCode.h"

namespace {

// Coded symbols in stretches of `stretch`, cycling through `kinds` distributions:
// kind k draws mostly from its own band of symbol values, as move-to-front output of
// different content does. The last symbol is the end position.
std::vector<std::uint16_t> symbolStream(std::size_t n, unsigned kinds, std::size_t stretch, std::uint32_t seed = 1) {
    std::vector<std::uint16_t> out;
    std::uint32_t state = seed;
    while (out.size() + 1 < n) {
        unsigned kind = static_cast<unsigned>(out.size() / stretch) % kinds;
        std::uint32_t r = corpus::nextRandom(state);
        std::uint16_t s;
        if (r % 4 == 0) s = static_cast<std::uint16_t>(r % 2);                     // zero-run digits
        else if (r % 16 == 1) s = static_cast<std::uint16_t>(2 + (r >> 8) % 255);  // anything
        else s = static_cast<std::uint16_t>(2 + kind * 40 + (r >> 8) % (8 + 4 * kind));
        out.push_back(s);
    }
    out.push_back(257);
    return out;
}

std::uint64_t kraftSum(const std::vector<std::uint8_t>& lengths) {
    std::uint64_t sum = 0;
    for (std::uint8_t l : lengths)
        if (l) sum += std::uint64_t{1} << (16 - l);
    return sum;
}

TEST(BwtTables, EveryGroupIsCodedByTheTableItChose) {
    const std::size_t sizes[] = {1, 2, 49, 50, 51, 199, 200, 599, 600, 2399, 2400, 30001};
    for (std::size_t n : sizes) {
        for (unsigned kinds : {1u, 3u, 6u}) {
            std::vector<std::uint16_t> symbols = symbolStream(n, kinds, 700, static_cast<std::uint32_t>(n));
            BwtTables tables = chooseBwtTables(symbols);
            SCOPED_TRACE("size " + std::to_string(n) + " kinds " + std::to_string(kinds));
            ASSERT_GE(tables.lengths.size(), 1u);
            ASSERT_LE(tables.lengths.size(), 6u) << "the reader's table-choice list holds six";
            ASSERT_EQ(tables.choices.size(), (n + 49) / 50);
            std::vector<bool> used(tables.lengths.size(), false);
            for (std::size_t i = 0; i < n; ++i) {
                unsigned t = tables.choices[i / 50];
                ASSERT_LT(t, tables.lengths.size());
                used[t] = true;
                ASSERT_NE(tables.lengths[t][symbols[i]], 0) << "symbol " << i << " has no code in its table";
            }
            EXPECT_TRUE(std::all_of(used.begin(), used.end(), [](bool u) { return u; })) << "a table nobody uses";
            for (const std::vector<std::uint8_t>& l : tables.lengths) {
                ASSERT_EQ(l.size(), 258u);
                EXPECT_LE(*std::max_element(l.begin(), l.end()), 16);
                EXPECT_LE(kraftSum(l), 1u << 16) << "over-subscribed code";
            }
        }
    }
}

TEST(BwtTables, SeveralTablesPayWhereTheContentChanges) {
    std::vector<std::uint16_t> symbols = symbolStream(60000, 5, 3000);
    BwtTables chosen = chooseBwtTables(symbols);
    EXPECT_GE(chosen.lengths.size(), 4u);

    std::vector<std::uint32_t> freqs(258, 0);
    for (std::uint16_t s : symbols) ++freqs[s];
    BwtTables single;
    single.lengths.push_back(buildCodeLengths(freqs, 16));
    single.choices.assign(chosen.choices.size(), 0);
    EXPECT_LT(bwtCodedBits(chosen, symbols), bwtCodedBits(single, symbols) * 9 / 10);

    // The count includes the table choices: one bit each with a single table.
    std::uint64_t symbolBits = 0;
    for (std::uint16_t s : symbols) symbolBits += single.lengths[0][s];
    EXPECT_GT(bwtCodedBits(single, symbols), symbolBits + single.choices.size());
}

std::vector<std::uint8_t> joined(const std::vector<std::vector<std::uint8_t>>& parts) {
    std::vector<std::uint8_t> out;
    for (const std::vector<std::uint8_t>& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

TEST(BwtBlocks, EndWhereTheKindOfContentChanges) {
    std::vector<std::uint8_t> data = joined({corpus::text(600000), corpus::records(500000)});
    std::size_t cut = bwtBlockSize(data.data(), data.size(), 1000000);
    EXPECT_GE(cut, 600000u - 512);
    EXPECT_LE(cut, 600000u + 512);
    EXPECT_EQ(bwtBlockSize(data.data() + 600000, data.size() - 600000, 1000000), 500000u) << "one kind to the end";

    std::vector<std::uint8_t> text = corpus::text(1200000);
    EXPECT_EQ(bwtBlockSize(text.data(), text.size(), 1000000), 1000000u);
    EXPECT_EQ(bwtBlockSize(text.data(), 700000, 1000000), 700000u);
    EXPECT_EQ(bwtBlockSize(data.data(), data.size(), 24000), 24000u) << "small blocks stay as asked";

    // A change too close to the block start is no reason for a tiny block.
    std::vector<std::uint8_t> early = joined({corpus::gradient(20000), corpus::text(900000)});
    EXPECT_EQ(bwtBlockSize(early.data(), early.size(), 1000000), early.size());

    // Every length around the edges of what is looked at, with a change inside: the
    // windows stay within the bytes (the sanitizer run checks), and the size is sound.
    for (std::size_t n : {131072u, 135167u, 135168u, 135169u, 196607u, 196608u, 196609u, 200705u, 300000u}) {
        std::vector<std::uint8_t> piece = joined({corpus::text(n / 2), corpus::randomBytes(n - n / 2)});
        for (std::size_t maxSize : {n - 1, n, n + 1}) {
            std::size_t size = bwtBlockSize(piece.data(), piece.size(), maxSize);
            EXPECT_GE(size, 1u);
            EXPECT_LE(size, std::min(n, maxSize));
        }
    }
}

TEST(BwtBlocks, MixedContentDecodes) {
    std::vector<std::uint8_t> mixed = joined({corpus::text(300000), corpus::records(250000),
                                              std::vector<std::uint8_t>(5000, 0), corpus::gradient(250000),
                                              corpus::randomBytes(3000), corpus::calls(250000)});
    for (std::uint32_t blockSize : {0u, 300000u, 2399u}) {
        PackOptions options = corpus::withMethod(Method::Bwt);
        options.blockSize = blockSize;
        std::vector<std::uint8_t> archive = packArchive({{"mixed.bin", mixed, false}}, options);
        std::vector<std::uint8_t> back;
        ASSERT_EQ(corpus::extract(archive, "mixed.bin", back), 0) << "block size " << blockSize;
        EXPECT_TRUE(back == mixed) << "block size " << blockSize;
        EXPECT_LT(archive.size(), mixed.size() / 2) << "block size " << blockSize;
    }
    // Uniform content in the longest blocks the format allows.
    std::vector<std::uint8_t> text = corpus::text(1100000, 5);
    std::vector<std::uint8_t> archive = packArchive({{"long.txt", text, false}}, corpus::withMethod(Method::Bwt));
    std::vector<std::uint8_t> back;
    ASSERT_EQ(corpus::extract(archive, "long.txt", back), 0);
    EXPECT_TRUE(back == text);
}

}  // namespace
