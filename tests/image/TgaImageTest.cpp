#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "image/PixelLayout.h"
#include "image/TgaImage.h"
#include "support/MessageRecorder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct TgaHeader {
    std::uint8_t idLength = 0;
    std::uint8_t colourMapType = 0;
    std::uint8_t imageType = 2;
    std::uint16_t mapLength = 0;
    std::uint8_t mapEntrySize = 0;
    std::uint16_t width = 1;
    std::uint16_t height = 1;
    std::uint8_t depth = 32;
};

// The 18 header bytes, little-endian, followed by `body`.
Bytes tga(const TgaHeader& h, std::initializer_list<std::uint8_t> body = {}) {
    Bytes out = {h.idLength, h.colourMapType, h.imageType, 0, 0,
                 std::uint8_t(h.mapLength), std::uint8_t(h.mapLength >> 8), h.mapEntrySize,
                 0, 0, 0, 0,
                 std::uint8_t(h.width), std::uint8_t(h.width >> 8),
                 std::uint8_t(h.height), std::uint8_t(h.height >> 8), h.depth, 0};
    out.insert(out.end(), body);
    return out;
}

int decode(const Bytes& bytes, TgaImage& image) { return decodeTga(bytes.data(), bytes.size(), image); }

TEST(TgaImage, ThirtyTwoBitPixelsExchangeFirstAndThirdByte) {
    TgaImage image;
    ASSERT_EQ(decode(tga({.width = 2}, {1, 2, 3, 4, 5, 6, 7, 8}), image), 1);
    EXPECT_EQ(image.pixels, (Bytes{3, 2, 1, 4, 7, 6, 5, 8}));
    EXPECT_EQ(image.depth, 32);

    // The same pixels from a repeat packet and from a raw packet.
    ASSERT_EQ(decode(tga({.imageType = 10, .width = 2}, {0x81, 1, 2, 3, 4}), image), 1);
    EXPECT_EQ(image.pixels, (Bytes{3, 2, 1, 4, 3, 2, 1, 4}));
    ASSERT_EQ(decode(tga({.imageType = 10, .width = 2}, {0x01, 1, 2, 3, 4, 5, 6, 7, 8}), image), 1);
    EXPECT_EQ(image.pixels, (Bytes{3, 2, 1, 4, 7, 6, 5, 8}));
}

TEST(TgaImage, RunLengthPacketsRepeatOrCopy) {
    TgaImage image;
    TgaHeader h{.imageType = 10, .width = 4, .depth = 24};
    ASSERT_EQ(decode(tga(h, {0x83, 9, 8, 7}), image), 1);
    EXPECT_EQ(image.pixels, (Bytes{9, 8, 7, 9, 8, 7, 9, 8, 7, 9, 8, 7}));
    ASSERT_EQ(decode(tga(h, {0x03, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}), image), 1);
    EXPECT_EQ(image.pixels, (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    // Packets mixed, over two rows; 24-bit pixels stay in stored order.
    h.height = 2;
    ASSERT_EQ(decode(tga(h, {0x82, 1, 1, 1, 0x04, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 6}), image), 1);
    EXPECT_EQ(image.pixels, (Bytes{1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 6}));
}

TEST(TgaImage, SixteenBitPixelsExpandToThreeBytes) {
    TgaImage image;
    ASSERT_EQ(decode(tga({.width = 3, .depth = 16}, {0xFF, 0x7F, 0x00, 0x80, 0x1F, 0x00}), image), 1);
    EXPECT_EQ(image.depth, 24);
    // 0x7FFF: all fields full; 0x8000: only the dropped bit; 0x001F: the low field.
    EXPECT_EQ(image.pixels, (Bytes{248, 248, 248, 0, 0, 0, 248, 0, 0}));

    // Bits 5 to 9 and 10 to 14 land in the second and third byte.
    ASSERT_EQ(decode(tga({.imageType = 10, .width = 3, .depth = 16}, {0x82, 0x20, 0x04}), image), 1);
    EXPECT_EQ(image.pixels, (Bytes{0, 8, 8, 0, 8, 8, 0, 8, 8}));
}

TEST(TgaImage, IdentificationFieldIsSkipped) {
    TgaImage image;
    Bytes file = tga({.idLength = 10, .width = 1, .depth = 24}, {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 5, 6, 7});
    ASSERT_EQ(decode(file, image), 1);
    EXPECT_EQ(image.pixels, (Bytes{5, 6, 7}));
    EXPECT_EQ(image.idLength, 10);
}

TEST(TgaImage, UnsupportedDepthShowsTheMessage) {
    MessageRecorder messages;
    TgaImage image;
    EXPECT_EQ(decode(tga({.width = 8, .depth = 1}, {0xFF}), image), 0);
    ASSERT_EQ(messages.all().size(), 1u);
    EXPECT_EQ(messages.all()[0].text, "Unsupported image depth.");
    EXPECT_EQ(messages.all()[0].caption, "TGA");
    EXPECT_TRUE(image.pixels.empty());

    // Types and depths that are not decoded fail silently, and so do unknown types.
    messages.clear();
    EXPECT_EQ(decode(tga({.width = 1, .depth = 8}, {1}), image), 0);
    EXPECT_EQ(decode(tga({.imageType = 3, .width = 1, .depth = 24}, {1, 2, 3}), image), 0);
    EXPECT_EQ(decode(tga({.imageType = 11, .width = 1, .depth = 32}, {0x80, 1, 2, 3, 4}), image), 0);
    EXPECT_EQ(decode(tga({.imageType = 4, .width = 1, .depth = 1}, {1}), image), 0);
    EXPECT_EQ(decode(tga({.imageType = 0}), image), 0);
    EXPECT_TRUE(messages.all().empty());
}

TEST(TgaImage, ColourMappedImagesLookUpTheirMap) {
    TgaImage image;
    TgaHeader h{.colourMapType = 1, .imageType = 1, .mapLength = 2, .mapEntrySize = 24, .width = 3, .depth = 8};
    ASSERT_EQ(decode(tga(h, {10, 11, 12, 20, 21, 22, 1, 0, 1}), image), 1);
    EXPECT_EQ(image.depth, 24);
    EXPECT_EQ(image.pixels, (Bytes{20, 21, 22, 10, 11, 12, 20, 21, 22}));

    h.imageType = 9;
    ASSERT_EQ(decode(tga(h, {10, 11, 12, 20, 21, 22, 0x81, 1, 0x00, 0}), image), 1);
    EXPECT_EQ(image.pixels, (Bytes{20, 21, 22, 20, 21, 22, 10, 11, 12}));

    // An index past the map gives black instead of reading beyond the map.
    h.imageType = 1;
    ASSERT_EQ(decode(tga(h, {10, 11, 12, 20, 21, 22, 2, 255, 1}), image), 1);
    EXPECT_EQ(image.pixels, (Bytes{0, 0, 0, 0, 0, 0, 20, 21, 22}));

    // Without a map, or with a map of other entries, the image is not decoded.
    TgaHeader noMap = h;
    noMap.colourMapType = 0;
    EXPECT_EQ(decode(tga(noMap, {10, 11, 12, 20, 21, 22, 0, 0, 0}), image), 0);
    TgaHeader wideMap = h;
    wideMap.mapEntrySize = 32;
    EXPECT_EQ(decode(tga(wideMap, {10, 11, 12, 0, 20, 21, 22, 0, 0, 0, 0}), image), 0);
    // A map longer than the file.
    TgaHeader longMap = h;
    longMap.mapLength = 300;
    EXPECT_EQ(decode(tga(longMap, {10, 11, 12, 20, 21, 22, 0, 0, 0}), image), 0);
}

TEST(TgaImage, GreyImagesKeepOneByte) {
    TgaImage image;
    ASSERT_EQ(decode(tga({.imageType = 3, .width = 2, .height = 2, .depth = 8}, {1, 2, 3, 4}), image), 1);
    EXPECT_EQ(image.pixels, (Bytes{1, 2, 3, 4}));
    ASSERT_EQ(decode(tga({.imageType = 11, .width = 5, .depth = 8}, {0x82, 7, 0x01, 8, 9}), image), 1);
    EXPECT_EQ(image.pixels, (Bytes{7, 7, 7, 8, 9}));

    // A grey image that declares a 24-bit map steps over it and stays grey.
    TgaHeader h{.colourMapType = 1, .imageType = 3, .mapLength = 1, .mapEntrySize = 24, .width = 2, .depth = 8};
    ASSERT_EQ(decode(tga(h, {90, 91, 92, 5, 6}), image), 1);
    EXPECT_EQ(image.pixels, (Bytes{5, 6}));
}

TEST(TgaImage, DataThatDoesNotMatchTheHeaderStaysInBounds) {
    TgaImage image;
    // A packet that runs past the image's end is cut short.
    ASSERT_EQ(decode(tga({.imageType = 10, .width = 2, .depth = 24}, {0x85, 1, 2, 3}), image), 1);
    EXPECT_EQ(image.pixels, (Bytes{1, 2, 3, 1, 2, 3}));
    ASSERT_EQ(decode(tga({.imageType = 10, .width = 2, .depth = 24}, {0x05, 1, 2, 3, 4, 5, 6}), image), 1);
    EXPECT_EQ(image.pixels, (Bytes{1, 2, 3, 4, 5, 6}));

    // Members shorter than their header promises fail, whatever the coding.
    EXPECT_EQ(decode(tga({.width = 2, .depth = 24}, {1, 2, 3, 4, 5}), image), 0);
    EXPECT_TRUE(image.pixels.empty());
    EXPECT_EQ(decode(tga({.imageType = 10, .width = 200, .depth = 24}, {0x85, 1, 2, 3}), image), 0);
    EXPECT_EQ(decode(tga({.imageType = 10, .width = 3, .depth = 24}, {0x01, 1, 2, 3}), image), 0);
    EXPECT_EQ(decode(tga({.width = 65535, .height = 65535, .depth = 32}, {1, 2, 3, 4}), image), 0);
    EXPECT_EQ(decode(tga({.idLength = 40, .width = 1, .depth = 8}, {1}), image), 0);
    Bytes headerOnly = tga({});
    EXPECT_EQ(decodeTga(headerOnly.data(), 17, image), 0);
    EXPECT_EQ(decodeTga(nullptr, 0, image), 0);

    // An empty image is a valid one.
    ASSERT_EQ(decode(tga({.width = 0, .height = 7, .depth = 24}), image), 1);
    EXPECT_TRUE(image.pixels.empty());
}

TEST(TgaImage, EveryLayoutBecomesRgbaForUpload) {
    TgaImage image;
    ASSERT_EQ(decode(tga({.width = 1}, {1, 2, 3, 4}), image), 1);
    ASSERT_TRUE(makeRgba(image));
    EXPECT_EQ(image.pixels, (Bytes{3, 2, 1, 4}));

    // B, G, R from the file become R, G, B and opaque.
    ASSERT_EQ(decode(tga({.width = 2, .depth = 24}, {1, 2, 3, 4, 5, 6}), image), 1);
    ASSERT_TRUE(makeRgba(image));
    EXPECT_EQ(image.depth, 32);
    EXPECT_EQ(image.pixels, (Bytes{3, 2, 1, 255, 6, 5, 4, 255}));

    ASSERT_EQ(decode(tga({.width = 1, .depth = 16}, {0x1F, 0x00}), image), 1);
    ASSERT_TRUE(makeRgba(image));
    EXPECT_EQ(image.pixels, (Bytes{0, 0, 248, 255}));

    ASSERT_EQ(decode(tga({.imageType = 3, .width = 2, .depth = 8}, {9, 200}), image), 1);
    ASSERT_TRUE(makeRgba(image));
    EXPECT_EQ(image.pixels, (Bytes{9, 9, 9, 255, 200, 200, 200, 255}));
}

}  // namespace
