// Member delivery: records spread over blocks, the call-address filter with its
// hold-back across block ends, and streams that end or break before the member does.
#include "ArchiveBuilder.h"

#include "archive/ArchiveResult.h"
#include "archive/ExtractMember.h"
#include "archive/MemberDelivery.h"

#include <gtest/gtest.h>
#include <malloc.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <algorithm>

using namespace archive_result;

namespace {

Bytes archiveOf(const TestMember& m, const std::vector<Bytes>& blocks, std::uint32_t headerOffset = 0) {
    ArchiveBuilder b;
    b.addEntry(m, b.addStream(blocks), headerOffset);
    return b.build();
}

void putLe32(Bytes& b, std::size_t at, std::int32_t v) { put32(b, at, static_cast<std::uint32_t>(v)); }

// Splits `stream` into stored blocks at the given cut points.
std::vector<Bytes> storedBlocks(const Bytes& stream, const std::vector<std::size_t>& cuts) {
    std::vector<Bytes> blocks;
    std::size_t from = 0;
    for (std::size_t i = 0; i <= cuts.size(); ++i) {
        std::size_t to = i < cuts.size() ? cuts[i] : stream.size();
        blocks.push_back(storedBlock(Bytes(stream.begin() + from, stream.begin() + to), i == cuts.size()));
        from = to;
    }
    return blocks;
}

// How big the block is that the allocator handed out for `buffer`.
std::size_t allocatedSize(void* buffer) {
#ifdef _WIN32
    return _msize(buffer);
#else
    return malloc_usable_size(buffer);
#endif
}

}  // namespace

TEST(Delivery, RecordsAcrossBlocks) {
    // Two records in one stream; the second's local header and variable part cross
    // block ends, and its first byte is the first byte of a block.
    Bytes first = toBytes("first member");
    Bytes second = toBytes("second member, longer than one block");
    Bytes stream = ArchiveBuilder::record(first);
    std::size_t secondAt = stream.size();
    Bytes r2 = ArchiveBuilder::record(second, 7);
    stream.insert(stream.end(), r2.begin(), r2.end());
    std::size_t secondData = secondAt + 11 + 7;
    std::vector<Bytes> blocks = storedBlocks(stream, {secondAt + 5, secondData, secondData + 10});
    ArchiveBuilder b;
    std::uint32_t at = b.addStream(blocks);
    b.addEntry({"one", first}, at, 0);
    b.addEntry({"two", second}, at, static_cast<std::uint32_t>(secondAt));
    Bytes archive = b.build(), out;
    EXPECT_EQ(extract(archive, "one", out), 0);
    EXPECT_EQ(out, first);
    EXPECT_EQ(extract(archive, "two", out), 0);
    EXPECT_EQ(out, second);
}

TEST(Delivery, CallAddressFilterWith32BitOperands) {
    // N = 100, 0xE8 at offset 10: 60 becomes 49, -5 becomes 93, -20 and 100 stay.
    const std::int32_t operands[4] = {60, -5, -20, 100};
    const std::int32_t results[4] = {49, 93, -20, 100};
    for (int i = 0; i < 4; ++i) {
        Bytes raw(100, 0x11), expected(100, 0x11);
        raw[10] = expected[10] = 0xE8;
        putLe32(raw, 11, operands[i]);
        putLe32(expected, 11, results[i]);
        // Two 0xE8 in a row: the second is operand (1512, not below N: kept), not an
        // instruction whose operand 5 would have been translated.
        const std::uint8_t pair[6] = {0xE8, 0xE8, 5, 0, 0, 0};
        std::copy(pair, pair + 6, raw.begin() + 60);
        std::copy(pair, pair + 6, expected.begin() + 60);
        // In the last four bytes an 0xE8 and what follows go out as they are.
        raw[96] = expected[96] = 0xE8;
        raw[97] = expected[97] = 1;
        TestMember m{"f", expected};
        m.attributes = 4;
        Bytes stream = ArchiveBuilder::record(raw);
        Bytes out;
        // Whole, and cut inside operands so that the filter must hold bytes back.
        for (std::vector<std::size_t> cuts : std::vector<std::vector<std::size_t>>{
                 {}, {11 + 12}, {11 + 11, 11 + 12, 11 + 13, 11 + 62}, {11 + 97, 11 + 98}}) {
            EXPECT_EQ(extract(archiveOf(m, storedBlocks(stream, cuts)), "f", out), 0);
            EXPECT_EQ(out, expected) << i;
        }
        // Bit 1 wins over bit 2: through the 16-bit filter the CRC no longer matches.
        m.attributes = 6;
        testing::internal::CaptureStderr();
        EXPECT_EQ(extract(archiveOf(m, storedBlocks(stream, {})), "f", out), 0);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "File fails CRC error check\n");
    }
}

TEST(Delivery, CallAddressFilterWith16BitOperands) {
    Bytes raw = {0xE8, 0, 0, 0xE8, 0x10, 0x00, 7, 0xE8, 9};
    Bytes expected = {0xE8, 0xFF, 0xFF, 0xE8, 0x0C, 0x00, 7, 0xE8, 9};
    TestMember m{"w", expected};
    m.attributes = 2;
    Bytes stream = ArchiveBuilder::record(raw);
    Bytes out;
    for (std::vector<std::size_t> cuts : std::vector<std::vector<std::size_t>>{{}, {12}, {15, 16}}) {
        EXPECT_EQ(extract(archiveOf(m, storedBlocks(stream, cuts)), "w", out), 0);
        EXPECT_EQ(out, expected);
    }
}

TEST(Delivery, StreamsThatEndOrBreakEarly) {
    Bytes data = toBytes("0123456789");
    Bytes stream = ArchiveBuilder::record(data);
    Bytes out;
    // The last block comes before the member is complete: what arrived is handed over,
    // and the early end is the result, not a success padded with zeros.
    Bytes shortStream(stream.begin(), stream.end() - 4);
    EXPECT_EQ(extract(archiveOf({"m", data}, storedBlocks(shortStream, {})), "m", out), kUnexpectedEnd);
    EXPECT_EQ(out, toBytes("012345"));
    // A member whose record lies beyond the stream's end: nothing arrives.
    EXPECT_EQ(extract(archiveOf({"m", data}, storedBlocks(stream, {}), 5000), "m", out), kUnexpectedEnd);
    EXPECT_TRUE(out.empty());

    // Blocks that are not the last, but whose successor lies past the end of the file.
    std::vector<Bytes> blocks = storedBlocks(stream, {8});
    blocks[0][3] |= 0xFE;  // compressed size: all ones
    blocks[0][4] = 0xFF;
    blocks[0][5] |= 0x1F;
    EXPECT_EQ(extract(archiveOf({"m", data}, blocks), "m", out), kUnexpectedEnd);
    // A block that claims fewer bytes than its own header would chain onto itself.
    blocks = storedBlocks(stream, {});
    blocks[0][3] &= 0x01;  // compressed size bits 25..31
    blocks[0][4] = 0;
    blocks[0][5] &= 0xE0;
    EXPECT_EQ(extract(archiveOf({"m", data}, blocks), "m", out), kDamaged);
    // Many empty blocks before the data are just passed over.
    blocks.clear();
    for (int i = 0; i < 100; ++i) blocks.push_back(storedBlock({}, false));
    blocks.push_back(storedBlock(stream, true));
    EXPECT_EQ(extract(archiveOf({"m", data}, blocks), "m", out), 0);
    EXPECT_EQ(out, data);
}

TEST(Delivery, SizesThatCannotFitAreRefusedBeforeAllocating) {
    Bytes data = toBytes("abc");
    Bytes archive = archiveOf({"m", data}, storedBlocks(ArchiveBuilder::record(data), {}));
    std::size_t entry = firstEntryOffset(archive);
    Bytes out;
    for (std::uint32_t size : {0xFFFFFFFFu, 0x80000000u, 100000000u}) {
        Bytes bad = archive;
        put32(bad, entry + 16, size);
        fixCheck(bad, entry, 38 + 1, 36);
        EXPECT_EQ(extract(bad, "m", out), kUnexpectedEnd) << size;
        EXPECT_TRUE(out.empty());
    }
    Bytes bad = archive;
    put32(bad, entry + 12, 0xFFFFFFF0u);  // the local header far beyond any stream
    fixCheck(bad, entry, 38 + 1, 36);
    EXPECT_EQ(extract(bad, "m", out), kUnexpectedEnd);
}

TEST(Delivery, AClaimedSizeTakesOnlyTheMemoryTheStreamGives) {
    // Enough (empty) blocks that the size passes the cheap block-count bound, yet the
    // stream holds three bytes: the claim must neither be allocated nor filled.
    Bytes data = toBytes("abc");
    std::vector<Bytes> blocks;
    for (int i = 0; i < 400; ++i) blocks.push_back(storedBlock({}, false));
    blocks.push_back(storedBlock(ArchiveBuilder::record(data), true));
    Bytes archive = archiveOf({"m", data}, blocks);
    std::size_t entry = firstEntryOffset(archive);
    put32(archive, entry + 16, 300000000u);
    fixCheck(archive, entry, 38 + 1, 36);
#ifndef _WIN32  // the peak is read where the system reports it
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
#endif
    Bytes out;
    EXPECT_EQ(extract(archive, "m", out), kUnexpectedEnd);
    EXPECT_EQ(out, data) << "what arrived is handed over";
#ifndef _WIN32
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 * 1024) << "peak grew by kB";
#endif
}

// The room kept for big members is not what every member gets: a small one's buffer is
// about its own size.
TEST(Delivery, ASmallMemberTakesMemoryForItsOwnSize) {
    Bytes data(3000, 'x');
    Bytes archive = archiveOf({"m", data}, storedBlocks(ArchiveBuilder::record(data), {1000}));
    std::uint8_t* buffer = nullptr;
    std::uint32_t size = 0;
    ASSERT_EQ(extractMemberFromMemory(archive.data(), archive.size(), "m", buffer, size), 0);
    EXPECT_EQ(size, 3000u);
    std::size_t allocated = allocatedSize(buffer);
    delete[] buffer;
    EXPECT_GE(allocated, 3000u);
    EXPECT_LT(allocated, 64u * 1024) << "bytes allocated for a member of 3000";
}

TEST(Delivery, FilterHoldsBackOnlyIncompleteOperands) {
    Bytes m = {1, 0xE8, 5, 0, 0, 0, 2, 0xE8, 1};
    // Only the first three bytes arrived: the operand is incomplete, nothing past 0xE8 is final.
    EXPECT_EQ(filterCallAddresses(m.data(), 0, 3, 9, 4), 1u);
    EXPECT_EQ(m[2], 5);
    EXPECT_EQ(filterCallAddresses(m.data(), 1, 9, 9, 4), 9u);
    EXPECT_EQ(m[2], 5 - 2);
    EXPECT_EQ(m[8], 1) << "an 0xE8 in the last four bytes stays with what follows";
}
