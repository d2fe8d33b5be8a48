// The packer's coding pieces on their own: Huffman lengths, the coded form of the
// lengths (read back with the reader's own routine), and suffix sorting.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "TestCorpus.h"
#include "archive/BitReader.h"
#include "archive/ByteSource.h"
#include "archive/CodeLengths.h"
#include "archive/PrefixCode.h"
#include "imppack/CodeLengthWriter.h"
#include "imppack/HuffmanCode.h"
#include "imppack/SuffixArray.h"

namespace {

// Kraft sum of the lengths, scaled so that a complete code gives exactly 2^16.
std::uint64_t kraftSum(const std::vector<std::uint8_t>& lengths) {
    std::uint64_t sum = 0;
    for (std::uint8_t l : lengths)
        if (l) sum += std::uint64_t{1} << (16 - l);
    return sum;
}

TEST(HuffmanCode, LengthsAreCompleteLimitedAndCanonical) {
    // Fibonacci frequencies would give a 40-deep tree without the limit.
    std::vector<std::uint32_t> fib(40);
    fib[0] = fib[1] = 1;
    for (std::size_t i = 2; i < fib.size(); ++i) fib[i] = fib[i - 1] + fib[i - 2];
    std::vector<std::uint8_t> lengths = buildCodeLengths(fib, 16);
    EXPECT_LE(*std::max_element(lengths.begin(), lengths.end()), 16);
    EXPECT_EQ(kraftSum(lengths), 1u << 16);
    EXPECT_LT(lengths.back(), lengths.front()) << "frequent symbols get shorter codes";

    // Canonical codes are prefix-free: no code is the start of another.
    std::vector<std::uint32_t> codes = canonicalCodes(lengths);
    for (std::size_t a = 0; a < codes.size(); ++a) {
        for (std::size_t b = 0; b < codes.size(); ++b) {
            if (a != b && lengths[a] <= lengths[b]) {
                EXPECT_NE(codes[b] >> (lengths[b] - lengths[a]), codes[a]) << a << " prefixes " << b;
            }
        }
    }

    // No symbol or one symbol still gives a complete two-code alphabet.
    for (int used = 0; used <= 1; ++used) {
        std::vector<std::uint32_t> freqs(14, 0);
        if (used) freqs[9] = 100;
        std::vector<std::uint8_t> l = buildCodeLengths(freqs, 16);
        EXPECT_EQ(kraftSum(l), 1u << 16);
        if (used) {
            EXPECT_EQ(l[9], 1);
        }
    }
}

// Writes the groups and reads them back with the reader's readCodeLengths.
std::vector<std::uint8_t> readBack(const std::vector<std::uint8_t>& lengths, int groupSize, int groups) {
    BitWriter out;
    writeCodeLengths(out, lengths, static_cast<unsigned>(groupSize), static_cast<unsigned>(groups));
    out.putBits(0, 32);  // the reader looks ahead
    MemorySource source(out.bytes().data(), out.bytes().size());
    BitReader reader(source);
    reader.reset(0);
    PrefixCode precode;
    std::vector<std::uint8_t> back(lengths.size() + 64, 0xEE);
    EXPECT_EQ(readCodeLengths(reader, precode, back.data(), groupSize, groups, 100000), 0);
    back.resize(lengths.size());
    return back;
}

TEST(CodeLengthWriter, ReaderGetsBackEveryGroup) {
    std::uint32_t state = 17;
    // Random groups, groups that repeat their predecessor, long zero stretches that
    // run from one group into the next, and lengths up to 16.
    for (int trial = 0; trial < 40; ++trial) {
        const int groupSize = trial % 2 ? 372 : 258;
        const int groups = 1 + trial % 7;
        std::vector<std::uint8_t> lengths(static_cast<std::size_t>(groupSize) * groups);
        for (int g = 0; g < groups; ++g) {
            unsigned style = corpus::nextRandom(state) % 4;
            for (int i = 0; i < groupSize; ++i) {
                std::size_t k = static_cast<std::size_t>(g) * groupSize + i;
                std::uint8_t previous = g > 0 ? lengths[k - groupSize] : 0;
                unsigned r = corpus::nextRandom(state);
                if (style == 0) lengths[k] = static_cast<std::uint8_t>(r % 17);
                else if (style == 1) lengths[k] = r % 8 == 0 ? static_cast<std::uint8_t>(r % 17) : previous;
                else if (style == 2) lengths[k] = i > groupSize - 40 || i < 30 ? 0 : static_cast<std::uint8_t>(1 + r % 16);
                else lengths[k] = static_cast<std::uint8_t>(i < groupSize / 2 ? 16 : (previous + 1) % 17);
            }
        }
        SCOPED_TRACE(trial);
        EXPECT_EQ(readBack(lengths, groupSize, groups), lengths);
    }
}

std::vector<std::int32_t> naiveSuffixArray(const std::string& s) {
    std::vector<std::int32_t> sa(s.size() + 1);
    for (std::size_t i = 0; i < sa.size(); ++i) sa[i] = static_cast<std::int32_t>(i);
    std::sort(sa.begin(), sa.end(), [&](std::int32_t a, std::int32_t b) { return s.compare(a, std::string::npos, s, b, std::string::npos) < 0; });
    return sa;
}

TEST(SuffixArray, MatchesPlainSorting) {
    std::vector<std::string> samples = {"a", "banana", "mississippi", std::string(300, 'a'), "abababababababab",
                                        std::string("\0\xff\0\xff\0", 5), "zyxwvutsrqponm"};
    std::uint32_t state = 5;
    for (int n : {2, 17, 200, 1000}) {
        for (unsigned alphabet : {2u, 4u, 256u}) {
            std::string s;
            for (int i = 0; i < n; ++i) s += static_cast<char>(corpus::nextRandom(state) % alphabet);
            samples.push_back(s);
        }
    }
    for (const std::string& s : samples) {
        std::vector<std::int32_t> sa = suffixArray(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
        EXPECT_EQ(sa, naiveSuffixArray(s)) << "length " << s.size();
    }
}

}  // namespace
