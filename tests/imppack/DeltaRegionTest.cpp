// Delta regions: chosen for image-like bytes, left out for text, and decoded by
// the reader into the original bytes across blocks, history cuts and fallbacks.
#include <gtest/gtest.h>

#include "TestCorpus.h"
#include "imppack/DeltaRegions.h"

namespace {

TEST(DeltaRegions, ChosenWhereDifferencesAreCheaper) {
    std::vector<std::uint8_t> pixels = corpus::gradient(40000);
    std::vector<DeltaMarker> markers = planDeltaRegions(pixels.data(), 0, pixels.size(), 0);
    ASSERT_FALSE(markers.empty());
    EXPECT_EQ(markers[0].distance, 3u) << "RGB rows: the same channel of the pixel before";
    EXPECT_GE(markers[0].position, 3u) << "the byte 3 before must lie inside the window";
    std::vector<std::uint8_t> text = corpus::text(40000);
    EXPECT_TRUE(planDeltaRegions(text.data(), 0, text.size(), 0).empty());

    // Differences inside the region, the bytes themselves outside it; bytes before
    // the block come from the LZ-stage history, as the reader's window holds them.
    std::vector<std::uint8_t> data = {10, 20, 30, 40, 50, 60, 70, 80};
    std::vector<std::uint8_t> stage = {99, 98, 0, 0, 0, 0, 0, 0};
    applyDeltaRegions(stage.data(), data.data(), 2, 6, {{2, 2}, {6, 0}});
    EXPECT_EQ(stage, (std::vector<std::uint8_t>{99, 98, 256 + 30 - 99, 256 + 40 - 98, 50 - 30, 60 - 40, 70, 80}));
}

std::vector<std::uint8_t> joined(std::initializer_list<std::vector<std::uint8_t>> parts) {
    std::vector<std::uint8_t> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

void expectRestored(const std::vector<std::uint8_t>& bytes, std::uint32_t blockSize) {
    PackOptions options;
    options.method = Method::Lz;
    options.blockSize = blockSize;
    std::vector<std::uint8_t> a = packArchive({{"p.raw", bytes, false}}, options);
    std::vector<std::uint8_t> back;
    ASSERT_EQ(corpus::extract(a, "p.raw", back), 0) << blockSize;
    EXPECT_TRUE(back == bytes) << "block size " << blockSize;
}

TEST(DeltaRegions, ReaderRestoresTheBytes) {
    // Over 512 KiB of pixels and text in blocks that cut regions: the history is cut
    // back inside a region and re-encoded there.
    std::vector<std::uint8_t> large = joined({corpus::gradient(300000, 1), corpus::text(60000),
                                              corpus::gradient(330000, 2)});
    ASSERT_GT(large.size(), 524288u + 131071u);
    expectRestored(large, 131071);
    // Blocks of noise between them fall back to stored bytes, which re-encode the
    // regions of the LZ block before them; regions start right at block starts.
    std::vector<std::uint8_t> mixed = joined({corpus::gradient(21000, 3), corpus::randomBytes(16000, 4),
                                              corpus::gradient(30000, 5), corpus::randomBytes(7000, 6),
                                              corpus::gradient(9000, 7)});
    expectRestored(mixed, 7000);

    std::vector<std::uint8_t> pixels = corpus::gradient(200000, 8);
    std::vector<std::uint8_t> a = packArchive({{"p.raw", pixels, false}}, corpus::withMethod(Method::Lz));
    EXPECT_LT(a.size(), pixels.size() / 2) << "noisy gradients pack well as differences";
}

}  // namespace
