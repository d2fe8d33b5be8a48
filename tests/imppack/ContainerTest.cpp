// The archive container as the packer writes it: header, comment, directory
// blocks, member lookup rules, and streams of many blocks.
#include <gtest/gtest.h>

#include "TestCorpus.h"
#include "archive/ArchiveResult.h"
#include "archive/Crc32.h"

namespace {

std::uint32_t le32(const std::vector<std::uint8_t>& a, std::size_t at) {
    return a[at] | (a[at + 1] << 8) | (a[at + 2] << 16) | (static_cast<std::uint32_t>(a[at + 3]) << 24);
}

TEST(Container, HeaderAndCommentCarryValidCheckValues) {
    PackOptions options;
    options.comment = "Voidrift content";
    std::vector<std::uint8_t> a = packArchive({{"a.txt", corpus::text(100), false}}, options);
    EXPECT_EQ(le32(a, 0), 0x0A504D49u);
    EXPECT_EQ(le32(a, 8), 1u);
    EXPECT_EQ(checkValue16(a.data(), 42, 40), a[40] | (a[41] << 8));
    std::uint32_t comment = le32(a, 16);
    ASSERT_EQ(a[comment] | (a[comment + 1] << 8), options.comment.size());
    EXPECT_EQ(checkValue16(&a[comment + 4], options.comment.size(), options.comment.size()),
              a[comment + 2] | (a[comment + 3] << 8));
    std::vector<std::uint8_t> bytes;
    EXPECT_EQ(corpus::extract(a, "a.txt", bytes), 0);

    // A one-bit change in the header is caught by the reader.
    a[12] ^= 1;
    EXPECT_EQ(corpus::extract(a, "a.txt", bytes), archive_result::kDamaged);
}

TEST(Container, RefusesWhatTheFormatOrReaderCannotHold) {
    PackOptions options;
    EXPECT_EQ(checkPackInputs({{std::string(259, 'n'), {1}, false}}, options), "");
    EXPECT_NE(checkPackInputs({{std::string(260, 'n'), {1}, false}}, options), "");
    EXPECT_NE(checkPackInputs({{"", {1}, false}}, options), "");
    // No name may climb out of the archive root; dots inside a name are fine.
    for (const char* climbing : {"..", "..\\etc\\hostname", "a\\..\\..\\b", "a/../b"})
        EXPECT_NE(checkPackInputs({{climbing, {1}, false}}, options), "") << climbing;
    for (const char* fine : {"...", "a..b", "..a\\b.."})
        EXPECT_EQ(checkPackInputs({{fine, {1}, false}}, options), "") << fine;
    EXPECT_TRUE(packArchive({{std::string(260, 'n'), {1}, false}}, options).empty());
    options.comment.assign(4175, 'c');
    EXPECT_EQ(checkPackInputs({}, options), "");
    options.comment.assign(4176, 'c');
    EXPECT_NE(checkPackInputs({}, options), "");
    options.comment.clear();
    options.blockSize = kMaxBlockSize + 1;
    EXPECT_NE(checkPackInputs({}, options), "");
}

TEST(Container, LookupRulesOnPackedNames) {
    std::vector<PackInput> inputs = {
        {"meshes", {}, true},  // a folder entry: never extracted
        {"meshes\\env.dat", corpus::records(3000), false},
        {"dup.txt", {'f', 'i', 'r', 's', 't'}, false},
        {"DUP.TXT", {'s', 'e', 'c', 'o', 'n', 'd'}, false},
        {"empty.txt", {}, false},
        {"meshes", {'f', 'i', 'l', 'e'}, false},
    };
    for (bool stored : {false, true}) {
        PackOptions options;
        options.storedDirectory = stored;
        std::vector<std::uint8_t> a = packArchive(inputs, options);
        std::vector<std::uint8_t> bytes;
        EXPECT_EQ(corpus::extract(a, "MESHES\\ENV.DAT", bytes), 0);
        EXPECT_TRUE(bytes == inputs[1].bytes);
        EXPECT_EQ(corpus::extract(a, "meshes/env.dat", bytes), archive_result::kNotFound);
        EXPECT_EQ(corpus::extract(a, "dup.txt", bytes), 0);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "first");
        EXPECT_EQ(corpus::extract(a, "empty.txt", bytes), 0);
        EXPECT_TRUE(bytes.empty());
        EXPECT_EQ(corpus::extract(a, "meshes", bytes), 0) << "the folder entry is passed over";
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "file");
    }
    std::vector<std::uint8_t> none = packArchive({}, PackOptions());
    std::vector<std::uint8_t> bytes;
    EXPECT_EQ(corpus::extract(none, "a", bytes), archive_result::kNotFound);
}

TEST(Container, ManyEntriesFillSeveralDirectoryBlocks) {
    std::vector<PackInput> inputs;
    for (int i = 0; i < 600; ++i) {
        std::string name = "textures\\generated\\tile_" + std::to_string(i * 7919 % 100000) + ".tga";
        inputs.push_back({name, corpus::text(10 + i % 50, i), false});
    }
    for (bool stored : {false, true}) {
        PackOptions options;
        options.storedDirectory = stored;
        options.solid = true;
        std::vector<std::uint8_t> a = packArchive(inputs, options);
        std::uint32_t directory = le32(a, 4);
        std::size_t blocks = 0;
        for (std::size_t at = directory; at + 6 <= a.size(); ++at)
            if (std::equal(a.begin() + at, a.begin() + at + 6, "IMPDE")) ++blocks;
        EXPECT_GE(blocks, 4u) << "600 entries of about 70 bytes need at least 5 blocks of 8192";
        for (int i : {0, 1, 117, 118, 299, 599}) {
            std::vector<std::uint8_t> bytes;
            ASSERT_EQ(corpus::extract(a, inputs[i].memberName, bytes), 0) << i;
            EXPECT_TRUE(bytes == inputs[i].bytes);
        }
    }
}

TEST(Container, ArchiveAfterOtherDataIsFound) {
    std::vector<std::uint8_t> a = packArchive({{"x.txt", corpus::text(5000), false}}, PackOptions());
    std::vector<std::uint8_t> sfx = corpus::randomBytes(20000);
    sfx.insert(sfx.end(), a.begin(), a.end());
    std::vector<std::uint8_t> bytes;
    EXPECT_EQ(corpus::extract(sfx, "x.txt", bytes), 0);
    EXPECT_TRUE(bytes == corpus::text(5000));
}

TEST(Container, SameInputSameBytes) {
    PackOptions options;
    options.filter = Filter::E8;
    std::vector<PackInput> inputs = {{"a", corpus::calls(20000), false}, {"b", corpus::text(20000), false}};
    EXPECT_EQ(packArchive(inputs, options), packArchive(inputs, options));
}

TEST(Container, MembersAndHeadersAcrossBlockEnds) {
    // Small blocks: members span many blocks, local headers are cut by block ends,
    // and random stretches make some blocks fall back to stored bytes in an LZ
    // stream, which changes the history the following LZ blocks may use.
    std::vector<PackInput> inputs;
    for (int i = 0; i < 12; ++i) {
        std::vector<std::uint8_t> bytes = i % 3 == 1 ? corpus::randomBytes(3000 + 97 * i, i) : corpus::text(4000 + 333 * i, i);
        inputs.push_back({"m" + std::to_string(i) + ".dat", bytes, false});
    }
    for (Method method : {Method::Lz, Method::Bwt, Method::Stored, Method::Best}) {
        for (std::uint32_t blockSize : {1u, 7u, 4096u, 65536u}) {
            // Tiny blocks: stored for every size, LZ for one, BWT and Best from 4096 on.
            if (blockSize == 1 && method != Method::Stored) continue;
            if (blockSize == 7 && method != Method::Lz && method != Method::Stored) continue;
            PackOptions options;
            options.method = method;
            options.solid = true;
            options.blockSize = blockSize;
            std::vector<std::uint8_t> a = packArchive(inputs, options);
            for (const PackInput& input : inputs) {
                std::vector<std::uint8_t> bytes;
                ASSERT_EQ(corpus::extract(a, input.memberName, bytes), 0);
                EXPECT_TRUE(bytes == input.bytes)
                    << input.memberName << " method " << static_cast<int>(method) << " block " << blockSize;
            }
        }
    }
}

TEST(Container, LongMatchesAcrossTheWholeHistory) {
    // A repeat 600 KiB back: it lies beyond the kept history of a later block but
    // within the distance limit inside one big block.
    std::vector<std::uint8_t> unique = corpus::randomBytes(600000, 3);
    std::vector<std::uint8_t> bytes = unique;
    bytes.insert(bytes.end(), unique.begin(), unique.begin() + 200000);
    for (std::uint32_t blockSize : {1000000u, 300000u}) {
        PackOptions options;
        options.method = Method::Lz;
        options.blockSize = blockSize;
        std::vector<std::uint8_t> a = packArchive({{"r.bin", bytes, false}}, options);
        std::vector<std::uint8_t> back;
        ASSERT_EQ(corpus::extract(a, "r.bin", back), 0);
        EXPECT_TRUE(back == bytes);
        if (blockSize == 1000000u) {
            EXPECT_LT(a.size(), 620000u) << "the repeat is coded as matches";
        }
    }
}

}  // namespace
