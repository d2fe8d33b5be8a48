// The inverse transform walks its vector as many chains side by side; whatever the
// input, it must give exactly what the single backward walk gives.
#include "archive/BwtInverse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// The single walk, written out plainly: successor positions by stable counting.
Bytes referenceInverse(const Bytes& block, std::uint32_t endPosition, std::uint8_t offset) {
    std::uint32_t size = static_cast<std::uint32_t>(block.size()) - 1;
    std::vector<std::uint32_t> successor(size + 1, 0);
    std::uint32_t next[256] = {};
    for (std::uint32_t i = 0; i <= size; ++i)
        if (i != endPosition) next[block[i]]++;
    std::uint32_t sum = 1;
    for (std::uint32_t& n : next) std::swap(n, sum), sum += n;
    for (std::uint32_t i = 0; i <= size; ++i)
        if (i != endPosition) successor[i] = next[block[i]]++;
    Bytes out(size);
    std::uint32_t index = 0;
    for (std::uint32_t i = size; i-- > 0;) {
        out[i] = static_cast<std::uint8_t>(block[index] + offset);
        if (index == endPosition) out[i] = offset;  // the end position holds byte 0
        index = successor[index];
    }
    return out;
}

Bytes runInverse(Bytes block, std::uint32_t endPosition, std::uint8_t offset) {
    std::uint32_t size = static_cast<std::uint32_t>(block.size()) - 1;
    std::uint32_t counts[256] = {};
    for (std::uint32_t i = 0; i <= size; ++i)
        if (i != endPosition) counts[block[i]]++;
    std::vector<std::uint32_t> vector(size + 1);
    inverseBwt(block.data(), size, endPosition, counts, vector.data(), offset);
    block.resize(size);
    return block;
}

// Forward transform with the end position sorting first.
Bytes forwardBwt(const Bytes& text, std::uint32_t& endPosition) {
    std::vector<std::uint32_t> suffixes(text.size() + 1);
    std::iota(suffixes.begin(), suffixes.end(), 0u);
    std::sort(suffixes.begin(), suffixes.end(), [&](std::uint32_t a, std::uint32_t b) {
        return std::lexicographical_compare(text.begin() + a, text.end(), text.begin() + b, text.end());
    });
    Bytes block(suffixes.size());
    for (std::uint32_t row = 0; row < suffixes.size(); ++row) {
        if (suffixes[row] == 0) endPosition = row;
        block[row] = suffixes[row] == 0 ? 0 : text[suffixes[row] - 1];
    }
    return block;
}

TEST(BwtInverse, SoundBlocksComeBackWhole) {
    std::mt19937 random(7);
    for (std::uint32_t size : {1u, 100u, 16383u, 16384u, 70000u, 300001u}) {
        SCOPED_TRACE(size);
        Bytes text(size);
        // Words from a small alphabet: long repeated contexts, as in text.
        for (std::uint32_t i = 0; i < size; ++i) text[i] = static_cast<std::uint8_t>("abcab c"[random() % 7]);
        std::uint32_t endPosition = 0;
        Bytes block = forwardBwt(text, endPosition);
        Bytes shifted = text;
        for (std::uint8_t& b : shifted) b = static_cast<std::uint8_t>(b + 3);
        EXPECT_TRUE(runInverse(block, endPosition, 3) == shifted);
        EXPECT_TRUE(referenceInverse(block, endPosition, 3) == shifted);
    }
}

TEST(BwtInverse, DamagedBlocksGiveTheSingleWalksBytes) {
    // Random bytes make positions that split into several cycles; the end position
    // anywhere, including one the walk never reaches.
    std::mt19937 random(11);
    for (std::uint32_t size : {20000u, 65536u, 131071u, 400000u}) {
        for (int round = 0; round < 3; ++round) {
            SCOPED_TRACE(testing::Message() << size << " round " << round);
            Bytes block(size + 1);
            for (std::uint8_t& b : block) b = static_cast<std::uint8_t>(random() % (round == 2 ? 2 : 256));
            std::uint32_t endPosition = round == 1 ? 0 : random() % (size + 1);
            EXPECT_TRUE(runInverse(block, endPosition, 5) == referenceInverse(block, endPosition, 5));
        }
    }
}

}  // namespace
