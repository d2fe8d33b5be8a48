// Generated pictures decode as the player's loaders expect: colour JPEGs and 32-bit TGAs
// with power-of-two sides; the digit sheet has its glyphs in the cells the overlay reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <string>
#include <vector>

#include "image/BmpImage.h"
#include "mkcontent/ImageFiles.h"
#include "mkcontent/Lettering.h"
#include "mkcontent/Textures.h"

namespace {

struct Decoded {
    int width = 0, height = 0, components = 0;
    std::vector<uint8_t> pixels;  // top row first
};

struct ErrorJump {
    jpeg_error_mgr manager;
    jmp_buf jump;
};

void jumpOut(j_common_ptr info) { longjmp(reinterpret_cast<ErrorJump*>(info->err)->jump, 1); }

bool decodeJpeg(const std::vector<uint8_t>& bytes, Decoded& out) {
    jpeg_decompress_struct info;
    ErrorJump error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jumpOut;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);  // default output: what the player's loader gets
    out.width = int(info.output_width);
    out.height = int(info.output_height);
    out.components = info.output_components;
    out.pixels.resize(size_t(out.width) * out.height * out.components);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.pixels.data() + size_t(info.output_scanline) * out.width * out.components;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

bool powerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

double cellInk(const Decoded& sheet, int left, int top, int inset) {
    double sum = 0;
    for (int y = top + inset; y < top + 64 - inset; ++y)
        for (int x = left + inset; x < left + 64 - inset; ++x) sum += sheet.pixels[(size_t(y) * sheet.width + x) * 3];
    return sum / 255.0;
}

}  // namespace

TEST(Pictures, PaintedTexturesEncodeAsColourJpegsWithPowerOfTwoSides) {
    const Color tint{0.5f, 0.7f, 1.0f, 1};
    const std::vector<Image> images = {
        paintPlanet(PlanetKind::rocky, 64, 1, tint), paintPlanet(PlanetKind::gasGiant, 64, 2, tint),
        paintPlanet(PlanetKind::lava, 64, 3, tint),  paintSky(64, 4, tint, tint, 0.5),
        paintGalaxy(32, 5, tint),                    paintFlareGlow(32, tint, 4),
        paintLensHex(32),                            paintAurora(64, 32, 6, tint, tint),
        paintHull(64, 7, tint, tint),                paintParticle(16, tint),
    };
    for (const Image& image : images) {
        Decoded d;
        ASSERT_TRUE(decodeJpeg(encodeJpeg(image, 90), d));
        EXPECT_EQ(d.components, 3) << "the texture loaders upload every JPEG as RGB";
        EXPECT_EQ(d.width, image.width);
        EXPECT_EQ(d.height, image.height);
        EXPECT_TRUE(powerOfTwo(d.width) && powerOfTwo(d.height));
        // the decoded centre pixel is close to what was painted
        const Color& c = image.at(image.width / 2, image.height / 2);
        size_t at = (size_t(d.height / 2) * d.width + d.width / 2) * 3;
        EXPECT_NEAR(d.pixels[at] / 255.0, std::min(1.0f, c.r), 0.12);
    }
}

TEST(Pictures, GlowsFadeToBlackAtTheirEdgesSoAddingThemShowsNoSquare) {
    const std::vector<Image> glows = {paintFlareGlow(64, {1, 1, 1, 1}, 6), paintParticle(32, {1, 1, 1, 1}),
                                      paintNavLight(32, {1, 0, 0, 1}), paintLensDisc(64), paintFlame(64)};
    for (const Image& g : glows) {
        for (int i = 0; i < g.width; ++i) {
            for (const Color& c : {g.at(i, 0), g.at(i, g.height - 1), g.at(0, i), g.at(g.width - 1, i)}) {
                EXPECT_LT(c.r + c.g + c.b, 0.03);
            }
        }
        const Color& centre = g.at(g.width / 2, g.height / 2);
        EXPECT_GT(centre.r + centre.g + centre.b, 0.5);
    }
}

TEST(Pictures, TgaCarriesAlphaBottomRowFirst) {
    Image image(4, 2);
    image.at(0, 0) = {1, 0, 0, 0.5f};  // top left
    image.at(3, 1) = {0, 0, 1, 1};     // bottom right
    std::vector<uint8_t> tga = encodeTga(image);
    ASSERT_EQ(tga.size(), 18u + 4 * 2 * 4);
    EXPECT_EQ(tga[2], 2);   // true colour, uncompressed
    EXPECT_EQ(tga[16], 32);
    EXPECT_EQ(tga[12] | tga[13] << 8, 4);
    EXPECT_EQ(tga[14] | tga[15] << 8, 2);
    // first stored row is the bottom one, pixels as B, G, R, A
    const uint8_t* bottomRight = &tga[18 + 3 * 4];
    EXPECT_EQ(bottomRight[0], 255);
    EXPECT_EQ(bottomRight[2], 0);
    const uint8_t* topLeft = &tga[18 + 4 * 4];
    EXPECT_EQ(topLeft[2], 255);
    EXPECT_EQ(topLeft[3], 128);
}

TEST(Pictures, DigitSheetHoldsElevenGlyphsInsideTheirCells) {
    Image sheet;
    std::string error;
    ASSERT_TRUE(paintDigitSheet(defaultFontPath, sheet, error)) << error;
    Decoded d;
    ASSERT_TRUE(decodeJpeg(encodeJpeg(sheet, 95), d));
    ASSERT_EQ(d.width, 256);
    ASSERT_EQ(d.height, 256);
    for (int i = 0; i < 16; ++i) {
        int left, top;
        digitCell(i, left, top);
        double ink = cellInk(d, left, top, 0);
        if (i < 11) {
            EXPECT_GT(ink, i == 10 ? 30 : 150) << "glyph " << i;
            // nothing near the cell border, so glyphs do not bleed into each other
            double border = ink - cellInk(d, left, top, 4);
            EXPECT_LT(border, 8) << "glyph " << i;
        } else {
            EXPECT_LT(ink, 8) << "unused cell " << i;
        }
    }
    // "1" has less ink than "8": the cells really hold different glyphs, in order
    int l1, t1, l8, t8;
    digitCell(1, l1, t1);
    digitCell(8, l8, t8);
    EXPECT_LT(cellInk(d, l1, t1, 0), cellInk(d, l8, t8, 0));
    Image card, glow;
    EXPECT_FALSE(paintTitleCard("/nonexistent/font.ttf", card, glow, error));
}

// The dialog pictures go through BMP files into the program: the reader must give back every
// pixel the painter wrote, across rows padded to four bytes (263 * 3 is not a multiple of 4).
TEST(Pictures, DialogPicturesSurviveTheBitmapRoundTrip) {
    const int sizes[][2] = {{263, 166}, {155, 115}};
    for (const auto& size : sizes) {
        Image picture;
        std::string error;
        ASSERT_TRUE(paintDialogPicture(defaultFontPath, size[0], size[1], picture, error)) << error;
        std::vector<uint8_t> file = encodeBmp(picture);
        EXPECT_EQ(file.size(), 54 + ((size_t(size[0]) * 3 + 3) & ~size_t(3)) * size_t(size[1]));
        BmpImage decoded;
        ASSERT_TRUE(decodeBmp(file.data(), file.size(), decoded));
        EXPECT_EQ(decoded.width, size[0]);
        EXPECT_EQ(decoded.height, size[1]);
        std::vector<uint8_t> painted = picture.bytes(3);
        EXPECT_TRUE(decoded.rgb == painted);
        // Not a flat picture: the lettering is near white, space near black.
        auto [darkest, brightest] = std::minmax_element(painted.begin(), painted.end());
        EXPECT_LT(*darkest, 20);
        EXPECT_GT(*brightest, 230);

        // A file cut short, or one that claims another depth, is refused rather than overread.
        EXPECT_FALSE(decodeBmp(file.data(), file.size() - 1, decoded));
        EXPECT_TRUE(decoded.rgb.empty());
        file[28] = 32;
        EXPECT_FALSE(decodeBmp(file.data(), file.size(), decoded));
    }
}
