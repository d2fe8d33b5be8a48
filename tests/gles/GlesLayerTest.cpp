// The GLES layer's CPU side: primitive assembly, matrices, GLU's mipmap chain, read-backs.
#include <gtest/gtest.h>

#include <cmath>

#include "gles/Matrix.h"
#include "gles/Primitives.h"
#include "gles/TextureImage.h"

using namespace gles;

TEST(GlesPrimitives, QuadsPolygonsAndStripsBecomeWhatGlesDraws) {
    Assembly quads = assemble(7, 9);  // two quads and a stray vertex
    EXPECT_EQ(quads.mode, 4u);
    EXPECT_EQ(quads.order, (std::vector<std::uint32_t>{0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7}));
    Assembly strip = assemble(8, 5);  // a quad strip drops its odd vertex
    EXPECT_EQ(strip.mode, 5u);
    EXPECT_EQ(strip.order.size(), 4u);
    EXPECT_EQ(assemble(9, 5).mode, 6u);  // a polygon is a fan
    EXPECT_EQ(assemble(4, 6).order.size(), 6u);
    EXPECT_TRUE(assemble(42, 6).order.empty());
}

TEST(GlesMatrix, OperationsAgreeWithGl) {
    // Rotating x by 90 degrees about z gives y; the product applies the right factor first.
    Mat4 m = multiply(translation(1, 0, 0), rotation(90, 0, 0, 1));
    auto p = transform(m, {1, 0, 0, 1});
    EXPECT_NEAR(p[0], 1, 1e-6);
    EXPECT_NEAR(p[1], 1, 1e-6);
    // Looking from +5 on z at the origin is a plain shift back.
    Mat4 view = lookAt(0, 0, 5, 0, 0, 0, 0, 1, 0);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(view[i], translation(0, 0, -5)[i], 1e-6) << i;
    // A point on the near plane lands at depth -1, on the far plane at +1.
    Mat4 f = frustum(-1, 1, -1, 1, 2, 100);
    auto nearPoint = transform(f, {0, 0, -2, 1});
    auto farPoint = transform(f, {0, 0, -100, 1});
    EXPECT_NEAR(nearPoint[2] / nearPoint[3], -1, 1e-5);
    EXPECT_NEAR(farPoint[2] / farPoint[3], 1, 1e-5);
    // An off-centre frustum and a window-sized ortho send their corners to the cube's.
    Mat4 offCentre = frustum(-1, 3, -2, 2, 1, 10);
    auto corner = transform(offCentre, {3, 2, -1, 1});
    EXPECT_NEAR(corner[0] / corner[3], 1, 1e-5);
    EXPECT_NEAR(corner[1] / corner[3], 1, 1e-5);
    corner = transform(offCentre, {-10, -20, -10, 1});
    EXPECT_NEAR(corner[0] / corner[3], -1, 1e-5);
    EXPECT_NEAR(corner[1] / corner[3], -1, 1e-5);
    Mat4 window = ortho(0, 640, 0, 480, -1, 1);
    auto top = transform(window, {640, 480, -1, 1}), bottom = transform(window, {0, 0, 1, 1});
    for (float c : {top[0], top[1], top[2], -bottom[0], -bottom[1], -bottom[2], top[3], bottom[3]})
        EXPECT_NEAR(c, 1, 1e-6);
    // A third of a turn about the diagonal carries x to y and y to z; no axis, no turn.
    Mat4 third = rotation(120, 1, 1, 1);
    auto y = transform(third, {1, 0, 0, 0}), z = transform(third, {0, 1, 0, 0});
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(y[i], i == 1, 1e-5) << i;
        EXPECT_NEAR(z[i], i == 2, 1e-5) << i;
    }
    EXPECT_EQ(rotation(30, 0, 0, 0), identity());
    // Normals under a squashing scale take the inverse scale.
    Mat3 n = normalMatrix(scaling(2, 4, 1));
    EXPECT_NEAR(n[0], 0.5f, 1e-6);
    EXPECT_NEAR(n[4], 0.25f, 1e-6);
    EXPECT_NEAR(n[8], 1, 1e-6);
}

TEST(GlesTextureImage, MipChainAveragesAndRoundsSidesAsGlu) {
    EXPECT_EQ(nearestPowerOfTwo(64), 64);
    EXPECT_EQ(nearestPowerOfTwo(90), 64);
    EXPECT_EQ(nearestPowerOfTwo(100), 128);  // from 3 * 32 up, the larger power
    EXPECT_EQ(nearestPowerOfTwo(3), 4);
    EXPECT_EQ(nearestPowerOfTwo(48), 64);
    // 2x2 grey levels with 1-byte rows padded to 4 bytes (the unpack alignment).
    const std::uint8_t pixels[8] = {10, 20, 0, 0, 30, 41, 0, 0};
    std::vector<MipLevel> chain = buildMipChain(pixels, 2, 2, 1, 4, 0);
    ASSERT_EQ(chain.size(), 2u);
    EXPECT_EQ(chain[0].pixels, (std::vector<std::uint8_t>{10, 20, 30, 41}));
    EXPECT_EQ(chain[1].pixels, (std::vector<std::uint8_t>{25}));  // (101 + 2) / 4
    // A 3x1 image is resampled to 4x1, then halved to 2x1 and 1x1.
    const std::uint8_t row[3] = {0, 90, 180};
    std::vector<MipLevel> wide = buildMipChain(row, 3, 1, 1, 1, 0);
    ASSERT_EQ(wide.size(), 3u);
    EXPECT_EQ(wide[0].width, 4);
    EXPECT_EQ(wide[2].width, 1);
    // Each texel of a level is the rounded mean of its own 2x2 block, in rows and columns;
    // a column one texel wide halves down its rows only.
    std::vector<std::uint8_t> ramp(16);
    for (int i = 0; i < 16; ++i) ramp[std::size_t(i)] = std::uint8_t(i % 4 + 10 * (i / 4));
    std::vector<MipLevel> square = buildMipChain(ramp.data(), 4, 4, 1, 1, 0);
    ASSERT_EQ(square.size(), 3u);
    EXPECT_EQ(square[1].pixels, (std::vector<std::uint8_t>{6, 8, 26, 28}));
    EXPECT_EQ(square[2].pixels, (std::vector<std::uint8_t>{17}));
    const std::uint8_t column[4] = {0, 40, 80, 120};
    std::vector<MipLevel> narrow = buildMipChain(column, 1, 4, 1, 1, 0);
    ASSERT_EQ(narrow.size(), 3u);
    EXPECT_EQ(narrow[1].pixels, (std::vector<std::uint8_t>{20, 100}));
    EXPECT_EQ(narrow[2].pixels, (std::vector<std::uint8_t>{60}));
    // Resampled, the ends stay and the middle rises between them.
    EXPECT_EQ(wide[0].pixels.front(), 0);
    EXPECT_EQ(wide[0].pixels.back(), 180);
    EXPECT_TRUE(wide[0].pixels[1] > 0 && wide[0].pixels[1] < wide[0].pixels[2] && wide[0].pixels[2] < 180);
    std::vector<MipLevel> tall = buildMipChain(row, 1, 3, 1, 1, 0);  // the same down a column
    ASSERT_EQ(tall.size(), 3u);
    EXPECT_EQ(tall[0].pixels, wide[0].pixels);
    // The maximum size caps the base level.
    EXPECT_EQ(buildMipChain(row, 3, 1, 1, 1, 2)[0].width, 2);
}

TEST(GlesTextureImage, RgbReadBackKeepsThePackAlignment) {
    const std::uint8_t rgba[8] = {1, 2, 3, 255, 4, 5, 6, 255};
    std::uint8_t rgb[16];
    std::fill(std::begin(rgb), std::end(rgb), 0xEE);
    packRgb(rgba, 1, 2, 4, rgb);
    EXPECT_EQ(rgb[0], 1);
    EXPECT_EQ(rgb[2], 3);
    EXPECT_EQ(rgb[3], 0xEE);  // padding untouched
    EXPECT_EQ(rgb[4], 4);
    EXPECT_EQ(rgb[6], 6);
}
