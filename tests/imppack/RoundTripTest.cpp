// Archives written by the packer must give back every member, byte for byte,
// through the reader, for every method and option.
#include <gtest/gtest.h>

#include "TestCorpus.h"

namespace {

std::vector<PackInput> sampleInputs() {
    return {
        {"scripts\\env.txt", corpus::text(30000), false},
        {"meshes\\env.dat", corpus::records(50000), false},
        {"textures\\sky.raw", corpus::gradient(40000), false},
        {"noise.bin", corpus::randomBytes(20000), false},
        {"empty.txt", {}, false},
        {"one.txt", {'x'}, false},
        {"code.bin", corpus::calls(30000), false},
    };
}

void expectRoundTrip(const std::vector<PackInput>& inputs, const PackOptions& options) {
    std::vector<std::uint8_t> archive = packArchive(inputs, options);
    ASSERT_FALSE(archive.empty());
    for (const PackInput& input : inputs) {
        std::vector<std::uint8_t> bytes;
        ASSERT_EQ(corpus::extract(archive, input.memberName, bytes), 0) << input.memberName;
        EXPECT_TRUE(bytes == input.bytes) << input.memberName;
    }
}

TEST(RoundTrip, EveryMethodSeparateAndSolid) {
    const Method methods[] = {Method::Stored, Method::Lz, Method::Bwt, Method::Best};
    for (Method method : methods) {
        for (bool solid : {false, true}) {
            SCOPED_TRACE(testing::Message() << "method " << static_cast<int>(method) << " solid " << solid);
            PackOptions options;
            options.method = method;
            options.solid = solid;
            expectRoundTrip(sampleInputs(), options);
        }
    }
}

}  // namespace

namespace {

TEST(RoundTrip, SmallBlocksOfEverySize) {
    // Every size from 1 byte up: block ends fall on every position of the last
    // 50-symbol group of a BWT block, and on literal/match boundaries of LZ blocks.
    for (std::size_t n = 1; n <= 260; ++n) {
        std::vector<std::uint8_t> bytes = n % 2 ? corpus::randomBytes(n, static_cast<std::uint32_t>(n))
                                                : corpus::text(n, static_cast<std::uint32_t>(n));
        for (Method method : {Method::Bwt, Method::Lz}) {
            PackOptions options;
            options.method = method;
            std::vector<std::uint8_t> archive = packArchive({{"s", bytes, false}}, options);
            std::vector<std::uint8_t> back;
            ASSERT_EQ(corpus::extract(archive, "s", back), 0) << n;
            ASSERT_TRUE(back == bytes) << "size " << n << " method " << static_cast<int>(method);
        }
    }
    // Long runs of one byte: zero runs far longer than any group.
    std::vector<std::uint8_t> runs(70000, 'a');
    std::fill(runs.begin() + 30000, runs.begin() + 30001, 'b');
    expectRoundTrip({{"runs", runs, false}}, corpus::withMethod(Method::Bwt));
    expectRoundTrip({{"runs", runs, false}}, corpus::withMethod(Method::Lz));
}

// The number of table groups of the first LZ block of the first stream.
unsigned firstBlockGroups(const std::vector<std::uint8_t>& archive) {
    std::size_t block = 42 + 6;  // no comment: the first stream follows the header
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits |= static_cast<std::uint64_t>(archive[block + i]) << (8 * i);
    EXPECT_EQ(bits & 15, 1u) << "an LZ block";
    return static_cast<unsigned>((bits >> 52) & 63);  // after 45 head bits, 5 history bits, 2 for D
}

TEST(RoundTrip, TablesSwitchWhereTheDataChange) {
    std::vector<std::uint8_t> text = corpus::text(60000);
    std::vector<std::uint8_t> noise = corpus::randomBytes(60000);
    PackOptions options;
    options.method = Method::Lz;
    options.solid = true;
    std::vector<PackInput> mixed = {{"a", text, false}, {"b", noise, false}, {"c", corpus::text(60000, 9), false}};
    std::vector<std::uint8_t> archive = packArchive(mixed, options);
    EXPECT_GE(firstBlockGroups(archive), 3u);
    for (const PackInput& input : mixed) {
        std::vector<std::uint8_t> back;
        ASSERT_EQ(corpus::extract(archive, input.memberName, back), 0);
        EXPECT_TRUE(back == input.bytes);
    }
    EXPECT_EQ(firstBlockGroups(packArchive({{"a", text, false}}, options)), 1u) << "uniform text needs one group";
}

}  // namespace
