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
