// LZ blocks: fixed and transmitted table groups, matches, repeat distances, the
// history kept between blocks, delta regions, and the damage each can carry.
#include "ArchiveBuilder.h"

#include "archive/ArchiveResult.h"
#include "archive/PrefixCode.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace archive_result;

namespace {

using BodyWriter = std::function<void(LzBody&)>;
using Groups = std::vector<std::vector<std::uint8_t>>;

// An LZ block whose body `write` produces; `keep` is {row, column} for later blocks.
Bytes lzBlock(std::uint32_t size, bool last, const BodyWriter& write, const Groups& groups = {},
              int alphabets = 2, const int* keep = nullptr, std::uint32_t history = 0) {
    BitWriter w;
    putBlockHeader(w, 1, last, size);
    if (keep) {
        w.putBits(static_cast<std::uint32_t>(keep[0]), 2);
        w.putBits(static_cast<std::uint32_t>(keep[1]), 3);
    } else {
        w.putBits(0, 5);
    }
    LzBody lz(w, alphabets, groups, history + size);
    write(lz);
    return finishBlock(w);
}

void header(LzBody& lz) {
    for (auto b : ArchiveBuilder::record({})) lz.literal(b);
}

// One member whose stream is `blocks`, its record at stream offset 0.
Bytes oneMember(const Bytes& expected, const std::vector<Bytes>& blocks) {
    ArchiveBuilder b;
    TestMember m{"m", expected};
    b.addEntry(m, b.addStream(blocks), 0);
    return b.build();
}

// A transmitted group: every literal/length symbol 9 bits, distances 6 and 4 bits.
std::vector<std::uint8_t> flatGroup(int alphabets = 2) {
    std::vector<std::uint8_t> g(alphabets == 3 ? 372 : 344, 0);
    for (int s = 0; s < 288; ++s) g[s] = 9;
    for (int s = 0; s < 42; ++s) g[288 + s] = 6;
    for (int s = 0; s < 14; ++s) g[330 + s] = 4;
    for (int s = 344; s < int(g.size()); ++s) g[s] = 5;
    return g;
}

}  // namespace

TEST(LzBlock, LiteralsMatchesAndLengths) {
    Bytes expected = toBytes("x");
    expected.insert(expected.end(), 10, 'x');              // length 10 at distance 1
    expected.insert(expected.end(), {'a', 'b', 'c'});
    for (int i = 0; i < 100; ++i) expected.push_back("abc"[i % 3]);  // 100 at distance 3
    for (int i = 0; i < 300; ++i) expected.push_back(expected[expected.size() - 7]);
    std::uint32_t size = static_cast<std::uint32_t>(11 + expected.size());
    Bytes block = lzBlock(size, true, [](LzBody& lz) {
        header(lz);
        lz.literal('x');
        lz.match(10, 2);  // symbol 2: distance 1
        lz.literals("abc");
        lz.matchDistance(100, 3);
        lz.matchDistance(300, 7);  // length by the 15-bit form
    });
    Bytes out;
    EXPECT_EQ(extract(oneMember(expected, {block}), "m", out), 0);
    EXPECT_EQ(out, expected);
}

TEST(LzBlock, FixedDistanceLengthsFollowTheFill) {
    // Over 8192 bytes the fixed group gives distance symbols 5/6 bits, else 4/5 bits;
    // decoding with the wrong set would scramble everything after the first match.
    for (std::uint32_t dataSize : {1000u, 9000u}) {
        Bytes expected = toBytes("abcdefgh");
        while (expected.size() < dataSize) expected.push_back(expected[expected.size() - 8]);
        for (int i = 0; i < 3; ++i) expected.push_back(expected[expected.size() - 100]);
        expected.push_back('!');
        Bytes block = lzBlock(static_cast<std::uint32_t>(11 + expected.size()), true, [&](LzBody& lz) {
            header(lz);
            lz.literals("abcdefgh");
            lz.matchDistance(dataSize - 8, 8);
            lz.matchDistance(3, 100);
            lz.literal('!');
        });
        Bytes out;
        EXPECT_EQ(extract(oneMember(expected, {block}), "m", out), 0) << dataSize;
        EXPECT_EQ(out, expected) << dataSize;
    }
}

TEST(LzBlock, MatchBeyondTheWindowIsDropped) {
    Bytes expected = toBytes("ab");
    Bytes block = lzBlock(13, true, [](LzBody& lz) {
        header(lz);
        lz.literal('a');
        lz.matchDistance(5, 13);  // only 12 bytes lie before the output position
        lz.literal('b');
    });
    Bytes out;
    EXPECT_EQ(extract(oneMember(expected, {block}), "m", out), 0);
    EXPECT_EQ(out, expected);
}

TEST(LzBlock, RepeatDistances) {
    const std::string text = "0123456789ABCDEF";
    Bytes expected = toBytes(text);
    auto copy = [&](std::size_t length, std::size_t distance) {
        for (std::size_t i = 0; i < length; ++i) expected.push_back(expected[expected.size() - distance]);
    };
    copy(4, 7);   // R0 = 7
    copy(4, 9);   // R0 = 9, R1 = 7
    copy(4, 7);   // d = 1: R1, and the two swap
    copy(4, 7);   // d = 0: R0
    copy(4, 3);   // short distances leave R0 and R1 alone
    copy(4, 9);   // d = 1 again: 9
    Bytes block = lzBlock(static_cast<std::uint32_t>(11 + expected.size()), true, [&](LzBody& lz) {
        header(lz);
        lz.literals(text);
        lz.matchDistance(4, 7);
        lz.matchDistance(4, 9);
        lz.match(4, 1);
        lz.match(4, 0);
        lz.match(4, 4);
        lz.match(4, 1);
    });
    Bytes out;
    EXPECT_EQ(extract(oneMember(expected, {block}), "m", out), 0);
    EXPECT_EQ(out, expected);
}

TEST(LzBlock, GroupsSwitchAndTheLastOneEndsTheBlock) {
    Groups groups = {flatGroup(), flatGroup()};
    // The second group: letters short, everything else long (tree-walked) codes.
    for (int s = 0; s < 288; ++s) groups[1][s] = (s >= 'a' && s <= 'z') ? 5 : 11;
    Bytes expected = toBytes("one\x01\xFF" "two");
    // Declared far larger than what comes out: the body ends at the last group's 256,
    // the block shrinks and counts as the last, so the next block is never read.
    Bytes first = lzBlock(500, false,
                          [](LzBody& lz) {
                              header(lz);
                              lz.literals("one\x01\xFF");
                              lz.nextGroup();
                              lz.literals("two");
                              lz.nextGroup();
                              lz.literals("never");
                          },
                          groups);
    Bytes second = storedBlock(toBytes("SECOND"), true);
    Bytes member = expected;
    member.insert(member.end(), {'S', 'E', 'C', 'O', 'N', 'D'});
    Bytes out;
    // The member is cut short: what arrived is handed over with the early end's code.
    EXPECT_EQ(extract(oneMember(member, {first, second}), "m", out), kUnexpectedEnd);
    EXPECT_EQ(out, expected);
}

TEST(LzBlock, ThreeDistanceAlphabets) {
    Groups groups = {flatGroup(3)};
    Bytes expected = toBytes("abcdefghijk");
    auto copy = [&](std::size_t length, std::size_t distance) {
        for (std::size_t i = 0; i < length; ++i) expected.push_back(expected[expected.size() - distance]);
    };
    copy(2, 5);  // alphabet 1
    copy(3, 9);  // alphabet 2
    copy(4, 9);  // alphabet 0: a repeat of R0 = 9
    Bytes block = lzBlock(static_cast<std::uint32_t>(11 + expected.size()), true,
                          [](LzBody& lz) {
                              header(lz);
                              lz.literals("abcdefghijk");
                              lz.matchDistance(2, 5);
                              lz.matchDistance(3, 9);
                              lz.match(4, 0);
                          },
                          groups, 3);
    Bytes out;
    EXPECT_EQ(extract(oneMember(expected, {block}), "m", out), 0);
    EXPECT_EQ(out, expected);
}

TEST(LzBlock, DeltaRegionsAndTheirReEncoding) {
    // Block 1: after marker k = 1 each byte gets the byte before it added: the local
    // header's last byte is 0x5A, so 5 1 1 1 becomes 5F 60 61 62. After marker k = 0
    // bytes stay. Block 2 copies the first four, and must see them as the LZ stage
    // wrote them (5 1 1 1) because they are re-encoded before it starts.
    Bytes first = lzBlock(11 + 6, false, [](LzBody& lz) {
        header(lz);
        lz.marker(1);
        lz.literals("\x05\x01\x01\x01");
        lz.marker(0);
        lz.literals("\x07\x07");
    });
    const int keep[2] = {0, 0};  // 32768 bytes: more than the history, all of it stays
    Bytes second = lzBlock(
        5, true,
        [](LzBody& lz) {
            lz.matchDistance(4, 6);
            lz.literal('z');
        },
        {}, 2, keep, 17);
    Bytes expected = {0x5F, 0x60, 0x61, 0x62, 7, 7, 5, 1, 1, 1, 'z'};
    Bytes out;
    EXPECT_EQ(extract(oneMember(expected, {first, second}), "m", out), 0);
    EXPECT_EQ(out, expected);
}

TEST(LzBlock, HistoryIsCutToTheKeptSize) {
    // 40000 bytes of history; the next block keeps 32768 of them: distance 32768
    // still reaches, 32769 no longer does.
    const std::uint32_t firstSize = 40000;
    Bytes data;
    for (std::uint32_t i = 0; data.size() < firstSize - 11; ++i) data.push_back(std::uint8_t(i * 7 + (i >> 8)));
    Bytes first = lzBlock(firstSize, false, [&](LzBody& lz) {
        header(lz);
        for (auto b : data) lz.literal(b);
    });
    const int keep[2] = {1, 0};
    Bytes second = lzBlock(
        8, true,
        [](LzBody& lz) {
            lz.matchDistance(4, 32769);  // dropped: only 32768 bytes lie behind
            lz.matchDistance(4, 32768);
            lz.matchDistance(4, 32768);
        },
        {}, 2, keep, 32768);
    Bytes expected = data;
    for (int i = 0; i < 8; ++i) expected.push_back(expected[expected.size() - 32768]);
    Bytes out;
    EXPECT_EQ(extract(oneMember(expected, {first, second}), "m", out), 0);
    EXPECT_EQ(out, expected);
}

TEST(LzBlock, DamagedBodies) {
    Bytes out;
    Bytes expected = toBytes("ok");
    auto body = [](LzBody& lz) {
        header(lz);
        lz.literals("ok");
    };
    Bytes good = lzBlock(13, true, body);
    ASSERT_EQ(extract(oneMember(expected, {good}), "m", out), 0);

    // No distance alphabets.
    Bytes bad = good;
    bad[6] &= ~0x0C;  // D sits in bits 50 and 51: byte 6, bits 2 and 3
    EXPECT_EQ(extract(oneMember(expected, {bad}), "m", out), kDamaged);
    // Method 4 and more.
    bad = good;
    bad[0] = (bad[0] & 0xF0) | 4;
    EXPECT_EQ(extract(oneMember(expected, {bad}), "m", out), kDamaged);
    // A history row that the table lacks.
    const int keep[2] = {3, 0};
    Bytes later = lzBlock(2, true, [](LzBody& lz) { lz.literals("ok"); }, {}, 2, keep, 11);
    Bytes firstPart = lzBlock(11, false, header);
    EXPECT_EQ(extract(oneMember(expected, {firstPart, later}), "m", out), kDamaged);

    // Lengths that over-subscribe the code space.
    Groups over = {flatGroup()};
    for (int s = 0; s < 288; ++s) over[0][s] = 1;
    EXPECT_EQ(extract(oneMember(expected, {lzBlock(13, true, [](LzBody&) {}, over)}), "m", out), kDamaged);

    // At the edge of the code space: {1, 1} fills it, so a 16-bit code is one too many;
    // {1, 2, ..., 15, 16, 16} fills it exactly and one more 16 over-subscribes it.
    auto builds = [](std::vector<std::uint8_t> lengths) {
        auto code = std::make_unique<PrefixCode>();
        return code->build(lengths.data(), static_cast<int>(lengths.size()), PrefixCode::kLiteralBits);
    };
    EXPECT_TRUE(builds({1, 1}));
    EXPECT_FALSE(builds({1, 1, 16}));
    std::vector<std::uint8_t> full;
    for (int len = 1; len <= 16; ++len) full.push_back(static_cast<std::uint8_t>(len));
    full.push_back(16);
    EXPECT_TRUE(builds(full));
    full.push_back(16);
    EXPECT_FALSE(builds(full));

    // A pre-code value of 18 or more.
    BitWriter w;
    putBlockHeader(w, 1, true, 13);
    w.putBits(0, 5);
    w.putBits(2, 2);
    w.putBits(1, 6);
    w.putBits(18, 5);
    EXPECT_EQ(extract(oneMember(expected, {finishBlock(w)}), "m", out), kDamaged);

    // 1024 delta markers fit the table, 1025 do not.
    for (int markers : {1024, 1025}) {
        Bytes block = lzBlock(13, true, [&](LzBody& lz) {
            header(lz);
            for (int i = 0; i < markers; ++i) lz.marker(0);
            lz.literals("ok");
        });
        EXPECT_EQ(extract(oneMember(expected, {block}), "m", out), markers == 1024 ? 0 : kDamaged);
    }
}

TEST(LzBlock, EndlessInputPastTheFileEndStops) {
    // A block that claims a million bytes and then runs out of file: the zeros that
    // follow decode to something, but the block and the extraction must end.
    Groups groups = {flatGroup()};
    BitWriter w;
    putBlockHeader(w, 1, true, 1000000);
    w.putBits(0, 5);
    LzBody lz(w, 2, groups, 1000000);
    header(lz);
    Bytes block = finishBlock(w);
    Bytes member(10, 0);
    Bytes out;
    testing::internal::CaptureStderr();
    int result = extract(oneMember(member, {block}), "m", out);
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(result == 0 || result == kDamaged) << result;
}
