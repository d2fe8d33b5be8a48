#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "image/JpegImage.h"
#include "image/PixelLayout.h"
#include "support/TestJpeg.h"

namespace {

const std::vector<std::uint8_t> kRedOverBlue = {250, 10, 10, 10, 10, 250};

// Rows of `topFirst` in reverse order.
std::vector<std::uint8_t> flipRows(const std::vector<std::uint8_t>& topFirst, std::size_t stride) {
    std::vector<std::uint8_t> out;
    for (std::size_t row = topFirst.size() / stride; row-- > 0;)
        out.insert(out.end(), topFirst.begin() + row * stride, topFirst.begin() + (row + 1) * stride);
    return out;
}

TEST(JpegImage, ColourPictureIsPackedBottomRowFirst) {
    std::vector<std::uint8_t> jpeg = writeTestJpeg(bandedPixels(3, 2, kRedOverBlue), 3, 2, 3);
    JpegImage image;
    ASSERT_TRUE(decodeJpeg(jpeg.data(), jpeg.size(), image));
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.components, 3);
    EXPECT_EQ(image.stride, 9);
    ASSERT_EQ(image.pixels.size(), 18u);
    // Same pixels as the library's own decode, with the rows turned over.
    EXPECT_EQ(image.pixels, flipRows(referenceDecode(jpeg), 9));
    // The first row in the buffer is the picture's bottom (blue) row.
    EXPECT_GT(image.pixels[2], 150);
    EXPECT_LT(image.pixels[0], 100);
    EXPECT_GT(image.pixels[9], 150);
    EXPECT_LT(image.pixels[11], 100);
}

TEST(JpegImage, LargerPictureMatchesLibraryDecode) {
    std::vector<std::uint8_t> colours = {0, 0, 0, 255, 255, 255, 30, 200, 90, 200, 60, 30};
    std::vector<std::uint8_t> jpeg = writeTestJpeg(bandedPixels(37, 29, colours), 37, 29, 3, {75, ""});
    JpegImage image;
    ASSERT_TRUE(decodeJpeg(jpeg.data(), jpeg.size(), image));
    EXPECT_EQ(image.pixels, flipRows(referenceDecode(jpeg), 37 * 3));
}

TEST(JpegImage, ProgressivePictureDecodesWholeOrCut) {
    std::vector<std::uint8_t> colours = {0, 0, 0, 255, 255, 255, 30, 200, 90};
    TestJpegOptions options{80, "", 0, true};
    std::vector<std::uint8_t> jpeg = writeTestJpeg(bandedPixels(40, 24, colours), 40, 24, 3, options);
    JpegImage image;
    ASSERT_TRUE(decodeJpeg(jpeg.data(), jpeg.size(), image));
    EXPECT_EQ(image.pixels, flipRows(referenceDecode(jpeg), 40 * 3));
    // Cut inside the later scans: the earlier scans still give a whole picture.
    std::vector<std::uint8_t> cut(jpeg.begin(), jpeg.begin() + jpeg.size() * 2 / 3);
    ASSERT_TRUE(decodeJpeg(cut.data(), cut.size(), image));
    EXPECT_EQ(image.pixels.size(), 40u * 24 * 3);
}

TEST(JpegImage, CommentSegmentChangesNoPixel) {
    std::vector<std::uint8_t> pixels = bandedPixels(16, 9, kRedOverBlue);
    std::vector<std::uint8_t> plain = writeTestJpeg(pixels, 16, 9, 3);
    std::vector<std::uint8_t> commented = writeTestJpeg(pixels, 16, 9, 3, {100, "made by a test"});
    ASSERT_NE(plain, commented);
    JpegImage a, b;
    ASSERT_TRUE(decodeJpeg(plain.data(), plain.size(), a));
    ASSERT_TRUE(decodeJpeg(commented.data(), commented.size(), b));
    EXPECT_EQ(a.pixels, b.pixels);
    EXPECT_EQ(a.stride, b.stride);
}

TEST(JpegImage, GreyPictureHasOneComponentAndSpreadsToRgb) {
    std::vector<std::uint8_t> grey(8 * 8);
    for (std::size_t i = 0; i < grey.size(); ++i) grey[i] = std::uint8_t(i < 32 ? 40 : 220);
    std::vector<std::uint8_t> jpeg = writeTestJpeg(grey, 8, 8, 1);
    JpegImage image;
    ASSERT_TRUE(decodeJpeg(jpeg.data(), jpeg.size(), image));
    EXPECT_EQ(image.components, 1);
    EXPECT_EQ(image.stride, 8);
    std::vector<std::uint8_t> decoded = image.pixels;

    ASSERT_TRUE(makeRgb(image));
    EXPECT_EQ(image.components, 3);
    EXPECT_EQ(image.stride, 24);
    ASSERT_EQ(image.pixels.size(), 8u * 8 * 3);
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        ASSERT_EQ(image.pixels[i * 3], decoded[i]);
        ASSERT_EQ(image.pixels[i * 3 + 1], decoded[i]);
        ASSERT_EQ(image.pixels[i * 3 + 2], decoded[i]);
    }
    // Bottom rows first: the bright half of the picture comes first.
    EXPECT_GT(image.pixels[0], 180);
}

TEST(JpegImage, DamagedDataFailsWithAnEmptyImage) {
    JpegImage image;
    const std::uint8_t notJpeg[] = {'G', 'I', 'F', '8', '9', 'a', 0, 0};
    EXPECT_FALSE(decodeJpeg(notJpeg, sizeof(notJpeg), image));
    EXPECT_EQ(image.width, 0);
    EXPECT_EQ(image.stride, 0);
    EXPECT_TRUE(image.pixels.empty());
    EXPECT_FALSE(decodeJpeg(nullptr, 0, image));

    // A header cut off inside the frame segment: the library's fatal error comes back as false.
    std::vector<std::uint8_t> jpeg = writeTestJpeg(bandedPixels(8, 8, kRedOverBlue), 8, 8, 3);
    const std::uint8_t frameMarker[] = {0xFF, 0xC0};
    auto sof = std::search(jpeg.begin(), jpeg.end(), std::begin(frameMarker), std::end(frameMarker));
    ASSERT_NE(sof, jpeg.end());
    std::vector<std::uint8_t> cut(jpeg.begin(), sof + 6);
    EXPECT_FALSE(decodeJpeg(cut.data(), cut.size(), image));
    EXPECT_TRUE(image.pixels.empty());

    // A previous image is not left behind by a failed decode.
    ASSERT_TRUE(decodeJpeg(jpeg.data(), jpeg.size(), image));
    EXPECT_FALSE(decodeJpeg(notJpeg, sizeof(notJpeg), image));
    EXPECT_TRUE(image.pixels.empty());
}

TEST(JpegImage, TruncatedStreamKeepsTheRowsItHas) {
    // Noise, so that the entropy-coded data is most of the stream.
    std::vector<std::uint8_t> noise(64 * 64 * 3);
    std::uint32_t state = 12345;
    for (std::uint8_t& byte : noise) byte = std::uint8_t((state = state * 1103515245u + 12345u) >> 24);
    std::vector<std::uint8_t> jpeg = writeTestJpeg(noise, 64, 64, 3, {90, ""});
    ASSERT_GT(jpeg.size(), 4000u);
    JpegImage whole;
    ASSERT_TRUE(decodeJpeg(jpeg.data(), jpeg.size(), whole));
    for (std::size_t keep : {jpeg.size() - 2, jpeg.size() * 3 / 4, jpeg.size() / 2}) {
        std::vector<std::uint8_t> cut(jpeg.begin(), jpeg.begin() + keep);
        JpegImage image;
        ASSERT_TRUE(decodeJpeg(cut.data(), cut.size(), image)) << keep;
        ASSERT_EQ(image.pixels.size(), whole.pixels.size());
        // The picture's top rows (the end of the buffer) decoded as before.
        std::size_t stride = 64 * 3;
        EXPECT_TRUE(std::equal(whole.pixels.end() - stride, whole.pixels.end(), image.pixels.end() - stride));
    }
}

TEST(JpegImage, DamagedRestartMarkerEndsTheDecode) {
    std::vector<std::uint8_t> colours = {200, 40, 40, 40, 200, 40};
    TestJpegOptions options{90, "", 1};
    std::vector<std::uint8_t> jpeg = writeTestJpeg(bandedPixels(32, 32, colours), 32, 32, 3, options);
    // Renumber the third restart marker, so the decoder meets one it does not expect.
    int seen = 0;
    bool damaged = false;
    for (std::size_t i = 0; i + 1 < jpeg.size() && !damaged; ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] >= 0xD0 && jpeg[i + 1] <= 0xD7 && ++seen == 3) {
            jpeg[i + 1] = std::uint8_t(0xD0 + ((jpeg[i + 1] - 0xD0 + 4) & 7));
            damaged = true;
        }
    }
    ASSERT_TRUE(damaged);
    JpegImage image;
    EXPECT_TRUE(decodeJpeg(jpeg.data(), jpeg.size(), image));
    EXPECT_EQ(image.pixels.size(), 32u * 32 * 3);
}

TEST(JpegImage, OversizedPictureIsRefusedBeforeAllocating) {
    std::vector<std::uint8_t> jpeg = writeTestJpeg(bandedPixels(40, 30, kRedOverBlue), 40, 30, 3);
    JpegImage image;
    EXPECT_FALSE(decodeJpeg(jpeg.data(), jpeg.size(), image, 40 * 30 - 1));
    EXPECT_TRUE(image.pixels.empty());
    EXPECT_TRUE(decodeJpeg(jpeg.data(), jpeg.size(), image, 40 * 30));
}

}  // namespace
