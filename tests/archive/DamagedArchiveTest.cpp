// Archives from the packer, damaged byte by byte: every outcome is a result code of
// the format, and an undamaged member still comes back whole.
#include "archive/ArchiveResult.h"
#include "archive/ExtractMember.h"
#include "imppack/ArchiveWriter.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::vector<std::uint8_t> sample(std::size_t n, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes;
    const char* words[] = {"galaxy ", "flare ", "V(0.5 0.25 1) ", "end\n", "keyframe\n", "mesh "};
    while (bytes.size() < n) {
        if (random() % 5 == 0) {
            bytes.push_back(static_cast<std::uint8_t>(random()));
            continue;
        }
        for (const char* c = words[random() % 6]; *c; ++c) bytes.push_back(static_cast<std::uint8_t>(*c));
    }
    bytes.resize(n);
    return bytes;
}

bool isResultCode(int r) {
    using namespace archive_result;
    for (int code : {kOk, kNotFound, kNotImp, kDamaged, kDirectoryDamaged, kUnexpectedEnd, kEnciphered,
                     kMultiVolume, kOutOfMemory})
        if (r == code) return true;
    return false;
}

}  // namespace

TEST(DamagedArchive, EveryOutcomeIsAResultCode) {
    std::vector<std::uint8_t> text = sample(20000, 1), code = sample(3000, 2);
    for (std::size_t i = 100; i + 5 < code.size(); i += 37) code[i] = 0xE8;
    for (Method method : {Method::Stored, Method::Lz, Method::Bwt}) {
        PackOptions options;
        options.method = method;
        options.blockSize = 4096;
        options.filter = Filter::E8;
        std::vector<std::uint8_t> archive =
            packArchive({{"text.txt", text, false}, {"code.bin", code, false}}, options);
        ASSERT_FALSE(archive.empty());
        std::uint8_t* data = nullptr;
        std::uint32_t size = 0;
        ASSERT_EQ(extractMemberFromMemory(archive.data(), archive.size(), "code.bin", data, size), 0);
        EXPECT_EQ(std::vector<std::uint8_t>(data, data + size), code);
        delete[] data;

        std::mt19937 random(static_cast<std::uint32_t>(method) + 10);
        testing::internal::CaptureStderr();
        testing::internal::CaptureStdout();
        for (int trial = 0; trial < 300; ++trial) {
            std::vector<std::uint8_t> bad = archive;
            for (int k = 0; k < 1 + trial % 3; ++k) bad[random() % bad.size()] ^= std::uint8_t(1 + random() % 255);
            if (trial % 7 == 0) bad.resize(random() % bad.size());
            for (const char* name : {"text.txt", "code.bin"}) {
                int r = extractMemberFromMemory(bad.data(), bad.size(), name, data, size);
                EXPECT_TRUE(isResultCode(r)) << r;
                EXPECT_EQ(data == nullptr, size == 0);
                delete[] data;
            }
        }
        testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
    }
}
