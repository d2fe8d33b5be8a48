// The packer's call-address filter must be the exact inverse of the reader's.
#include <gtest/gtest.h>

#include "TestCorpus.h"
#include "imppack/CallFilter.h"

namespace {

std::vector<std::uint8_t> memberWithCall(std::size_t n, std::size_t at, std::uint32_t operand, unsigned width) {
    std::vector<std::uint8_t> m(n, 0x90);
    m[at] = 0xE8;
    for (unsigned i = 0; i < width; ++i) m[at + 1 + i] = static_cast<std::uint8_t>(operand >> (8 * i));
    return m;
}

std::uint32_t operandAt(const std::vector<std::uint8_t>& m, std::size_t at, unsigned width) {
    std::uint32_t v = 0;
    for (unsigned i = 0; i < width; ++i) v |= static_cast<std::uint32_t>(m[at + i]) << (8 * i);
    return v;
}

TEST(CallFilter, StoresWhatTheReaderTurnsBackIntoTheOriginal) {
    // With N = 100 and E8 at offset 10 the reader turns a stored 60 into 49, -5 into
    // 93, and leaves -20 and 100; so those originals must be stored as those values.
    const struct { std::int32_t original, stored; } cases[] = {{49, 60}, {93, -5}, {-20, -20}, {100, 100}};
    for (const auto& c : cases) {
        std::vector<std::uint8_t> m = memberWithCall(100, 10, static_cast<std::uint32_t>(c.original), 4);
        encodeCallAddresses(m, 4);
        EXPECT_EQ(static_cast<std::int32_t>(operandAt(m, 11, 4)), c.stored) << c.original;
    }
    // 16-bit operands: E8 at offset 0 delivering 65535 was stored as 0.
    std::vector<std::uint8_t> w = memberWithCall(3, 0, 65535, 2);
    encodeCallAddresses(w, 2);
    EXPECT_EQ(operandAt(w, 1, 2), 0u);
}

TEST(CallFilter, LeavesTailAndOperandBytesAlone) {
    // An E8 whose operand would reach the member's last byte or beyond stays as it is.
    std::vector<std::uint8_t> tail = memberWithCall(20, 15, 0x01020304, 4);
    std::vector<std::uint8_t> original = tail;
    encodeCallAddresses(tail, 4);
    EXPECT_EQ(tail, original);
    // Two E8 in a row: the second is the first one's operand, not a call of its own.
    std::vector<std::uint8_t> pair(400, 0);
    pair[5] = pair[6] = 0xE8;
    encodeCallAddresses(pair, 4);
    EXPECT_EQ(pair[5], 0xE8);
    EXPECT_EQ(operandAt(pair, 6, 4), 0xE8u + 6u) << "operand 0xE8 made relative to offset 6";
    EXPECT_EQ(pair[10], 0) << "scanning resumes after the operand";
}

TEST(CallFilter, ArchivesWithTheFilterDeliverTheOriginalBytes) {
    std::vector<PackInput> inputs = {{"code32.bin", corpus::calls(60000, 1), false},
                                     {"code16.bin", corpus::calls(60000, 2), false},
                                     {"text.txt", corpus::text(20000), false}};
    // A member with calls right at its end, where the operand is cut short.
    std::vector<std::uint8_t> edge = corpus::calls(4000, 3);
    for (std::size_t i = edge.size() - 6; i < edge.size(); ++i) edge[i] = 0xE8;
    inputs.push_back({"edge.bin", edge, false});
    for (Filter filter : {Filter::E8, Filter::E8W}) {
        for (bool solid : {false, true}) {
            PackOptions options;
            options.filter = filter;
            options.solid = solid;
            options.method = Method::Lz;
            options.blockSize = 7000;  // operands cut by block ends are held back by the reader
            std::vector<std::uint8_t> archive = packArchive(inputs, options);
            for (const PackInput& input : inputs) {
                std::vector<std::uint8_t> bytes;
                ASSERT_EQ(corpus::extract(archive, input.memberName, bytes), 0);
                EXPECT_TRUE(bytes == input.bytes) << input.memberName << " solid " << solid;
            }
        }
    }
}

TEST(CallFilter, AppliedOnlyWhereItPays) {
    PackOptions options;
    options.filter = Filter::E8;
    options.method = Method::Lz;
    std::vector<std::uint8_t> code = corpus::calls(200000);
    std::vector<std::uint8_t> filtered = packArchive({{"a.bin", code, false}}, options);
    options.filter = Filter::None;
    std::vector<std::uint8_t> plain = packArchive({{"a.bin", code, false}}, options);
    EXPECT_LT(filtered.size(), plain.size()) << "calls to a few targets pack better as absolute addresses";
    options.filter = Filter::E8;
    std::vector<std::uint8_t> text = corpus::text(50000);
    EXPECT_EQ(packArchive({{"t.txt", text, false}}, options), packArchive({{"t.txt", text, false}}, corpus::withMethod(Method::Lz)))
        << "no calls, no filter";
}

}  // namespace
