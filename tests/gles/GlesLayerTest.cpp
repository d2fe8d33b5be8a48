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
