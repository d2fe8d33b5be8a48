// BWT blocks: table choices, move-to-front with zero runs, the end position, the
// offset byte, and the damage that must give -3 instead of a wild write.
#include "ArchiveBuilder.h"

#include "archive/ArchiveResult.h"

#include <gtest/gtest.h>

#include <random>

using namespace archive_result;

namespace {

Bytes memberArchive(const Bytes& expected, const std::vector<Bytes>& blocks) {
    ArchiveBuilder b;
    TestMember m{"m", expected};
    b.addEntry(m, b.addStream(blocks), 0);
    return b.build();
}

// A BWT block from raw choices and symbols: values below 0 are table choices -1-j.
Bytes rawBwt(std::uint32_t size, int codes, const std::vector<int>& sequence,
             const std::vector<std::uint8_t>& lengths = std::vector<std::uint8_t>(258, 9)) {
    BitWriter w;
    putBlockHeader(w, 2, true, size);
    w.putBits(0, 8);
    w.putBits(static_cast<std::uint32_t>(codes), 3);
    for (int i = 0; i < codes; ++i) putCodeLengths(w, lengths, 258);
    w.alignToByte();
    TestCode code(lengths);
    for (int v : sequence) {
        if (v < 0) {
            int j = -1 - v;
            w.putBits((1u << j) - 1, static_cast<unsigned>(j + 1));  // j ones, then a zero
        } else {
            code.put(w, v);
        }
    }
    for (int i = 0; i < 8; ++i) w.putBits(0xFF, 8);
    return finishBlock(w);
}

}  // namespace

TEST(BwtBlock, RoundTripsThroughTheInverseTransform) {
    std::mt19937 random(7);
    std::vector<Bytes> inputs = {toBytes("aab"), toBytes("banana"), Bytes(300, 'q'), Bytes(1, 255)};
    Bytes noisy(5000);
    for (auto& b : noisy) b = std::uint8_t(random() % 7 == 0 ? random() : 'a' + random() % 3);
    inputs.push_back(noisy);
    Bytes all(256);
    for (int i = 0; i < 256; ++i) all[i] = std::uint8_t(255 - i);
    inputs.push_back(all);
    for (const Bytes& data : inputs) {
        Bytes record = ArchiveBuilder::record(data);
        Bytes out;
        EXPECT_EQ(extract(memberArchive(data, {bwtBlock(record, true)}), "m", out), 0) << data.size();
        EXPECT_EQ(out, data);
    }
}

TEST(BwtBlock, OffsetByteAndRunCutAtTheEnd) {
    // With O = 1 the block holds every byte minus one: the zeros travel as 255.
    Bytes data = {0, 0, 5, 0, 200, 255};
    Bytes out;
    EXPECT_EQ(extract(memberArchive(data, {bwtBlock(ArchiveBuilder::record(data), true, 1)}), "m", out), 0);
    EXPECT_EQ(out, data);

    // A zero run written longer than the block is cut at its end.
    int found = 0;
    for (int n = 1; n < 40 && found < 3; ++n) {
        Bytes text;
        for (int i = 0; i < n; ++i) text.push_back(std::uint8_t("ba"[i % 3 == 0]));
        bool extended = false;
        Bytes block = bwtBlock(ArchiveBuilder::record(text), true, 0, 1000, &extended);
        if (!extended) continue;
        ++found;
        EXPECT_EQ(extract(memberArchive(text, {block}), "m", out), 0) << n;
        EXPECT_EQ(out, text) << n;
    }
    EXPECT_EQ(found, 3);
}

TEST(BwtBlock, TableChoices) {
    Bytes data = toBytes("ab");
    Bytes out;

    // T = 0, and a choice beyond T, and the seventh choice that the list lacks.
    EXPECT_EQ(extract(memberArchive(data, {rawBwt(13, 0, {})}), "m", out), kDamaged);
    EXPECT_EQ(extract(memberArchive(data, {rawBwt(13, 2, {-3})}), "m", out), kDamaged);
    EXPECT_EQ(extract(memberArchive(data, {rawBwt(13, 7, {-7})}), "m", out), kDamaged);
    // With seven codes the first six choices are fine.
    std::vector<int> sequence = {-6, 257};
    for (int i = 0; i < 12; ++i) sequence.push_back(0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(extract(memberArchive(data, {rawBwt(13, 7, sequence)}), "m", out), 0);
    testing::internal::GetCapturedStderr();
}

TEST(BwtBlock, DamagedTransforms) {
    Bytes data = toBytes("ab");
    Bytes out;
    // An invalid code: only half the 8-bit code space is in use.
    std::vector<std::uint8_t> half(258, 0);
    for (int s = 0; s < 128; ++s) half[s] = 8;
    EXPECT_EQ(extract(memberArchive(data, {rawBwt(13, 1, {-1, 2}, half)}), "m", out), kDamaged);
    // Two end positions would leave a place without a byte.
    EXPECT_EQ(extract(memberArchive(data, {rawBwt(13, 1, {-1, 257, 2, 257, 0, 0, 0, 0})}), "m", out),
              kDamaged);
    // No end symbol at all: the end position is 0, and nothing reads outside the vector.
    std::vector<int> noEnd = {-1};
    for (int i = 0; i < 14; ++i) noEnd.push_back(2 + i % 5);
    testing::internal::CaptureStderr();
    EXPECT_EQ(extract(memberArchive(data, {rawBwt(13, 1, noEnd)}), "m", out), 0);
    testing::internal::GetCapturedStderr();
    // Over-subscribed lengths.
    std::vector<std::uint8_t> over(258, 1);
    EXPECT_EQ(extract(memberArchive(data, {rawBwt(13, 1, {-1}, over)}), "m", out), kDamaged);
}
