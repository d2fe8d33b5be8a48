#include "image/TextureBuild.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>

#include "image/PixelLayout.h"
#include "image/TextureLoader.h"

namespace {

// GLU 1.3 builds a chosen level from an image of the level above. Without it (GLU 1.2 on
// Windows, the GLES layer) the chain is built whole in one step, as at start-up.
#ifdef GLU_VERSION_1_3
constexpr bool kLevelsByBands = true;
#else
constexpr bool kLevelsByBands = false;
#endif

int levelCount(int width, int height) {
    int levels = 0;
    for (int side = std::max(width, height); side > 1; side /= 2) ++levels;
    return levels;
}

int half(int side) { return side > 1 ? side / 2 : 1; }

int rowsPerStep(int width) { return std::max(1, TextureBuild::kTexelsPerStep / std::max(1, width)); }

std::size_t rgbBytes(int width, int rows) { return std::size_t(width) * std::size_t(rows) * 3; }

}  // namespace

TextureBuild::TextureBuild(unsigned texture, unsigned scratch, const std::uint8_t* jpeg, std::size_t size)
    : texture_(texture), scratch_(scratch), jpeg_(jpeg), size_(size) {}

bool TextureBuild::step() {
    switch (phase_) {
        case Phase::Start: startDecode(); break;
        case Phase::Decode: decodeSome(); break;
        case Phase::Prepare: prepareLevels(); break;
        case Phase::LevelZero: uploadSomeOfLevelZero(); break;
        case Phase::SmallerLevels: halveSome(); break;
        case Phase::Done: break;
    }
    return done();
}

void TextureBuild::startDecode() {
    if (!decoder_.start(jpeg_, size_, image_)) {
        finishWhole(nullptr);
        return;
    }
    phase_ = Phase::Decode;
}

void TextureBuild::decodeSome() {
    if (decoder_.decodeRows(rowsPerStep(image_.width))) return;
    phase_ = Phase::Prepare;
}

// Level 0 goes up in bands only where GLU would take the image as it is: sides that are
// powers of two within the implementation's limit. Anything else GLU rescales in one go.
void TextureBuild::prepareLevels() {
    if (decoder_.failed() || !makeRgb(image_) || image_.width <= 0 || image_.height <= 0) {
        finishWhole(nullptr);
        return;
    }
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    bool asGiven = hasPowerOfTwoSides(image_.width, image_.height) && image_.width <= maxSize &&
                   image_.height <= maxSize;
    if (!kLevelsByBands || !asGiven) {
        finishWhole(image_.pixels.data());
        return;
    }
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, image_.width, image_.height, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    maxLevel_ = levelCount(image_.width, image_.height);
    row_ = 0;
    phase_ = Phase::LevelZero;
}

void TextureBuild::uploadSomeOfLevelZero() {
    int rows = std::min(rowsPerStep(image_.width), image_.height - row_);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, row_, image_.width, rows, GL_RGB, GL_UNSIGNED_BYTE,
                    image_.pixels.data() + std::size_t(row_) * image_.stride);
    row_ += rows;
    if (row_ < image_.height) return;
    if (maxLevel_ == 0) {
        finishLevels();
        return;
    }
    aboveWidth_ = image_.width;
    aboveHeight_ = image_.height;
    beginLevel(1);
    phase_ = Phase::SmallerLevels;
}

void TextureBuild::beginLevel(int level) {
    level_ = level;
    row_ = 0;
    building_.assign(rgbBytes(half(aboveWidth_), half(aboveHeight_)), 0);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexImage2D(GL_TEXTURE_2D, level, 3, half(aboveWidth_), half(aboveHeight_), 0, GL_RGB, GL_UNSIGNED_BYTE,
                 nullptr);
}

// GLU halves a band of the level above (an even number of its rows, so that no 2 x 2 block
// is cut) as level 1 of the scratch texture; the band read back goes into its place.
void TextureBuild::halveSome() {
#ifdef GLU_VERSION_1_3
    int rows = aboveHeight_ == 1 ? 1 : std::max(2, rowsPerStep(aboveWidth_) & ~1);
    rows = std::min(rows, aboveHeight_ - row_);
    int width = half(aboveWidth_), halfRows = half(rows);
    int toRow = aboveHeight_ == 1 ? 0 : row_ / 2;
    std::uint8_t* band = building_.data() + rgbBytes(width, toRow);

    glBindTexture(GL_TEXTURE_2D, scratch_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const std::uint8_t* above = level_ == 1 ? image_.pixels.data() : above_.data();
    gluBuild2DMipmapLevels(GL_TEXTURE_2D, 3, aboveWidth_, rows, GL_RGB, GL_UNSIGNED_BYTE, 0, 1, 1,
                           above + rgbBytes(aboveWidth_, row_));
    GLint packing = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &packing);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 1, GL_RGB, GL_UNSIGNED_BYTE, band);
    glPixelStorei(GL_PACK_ALIGNMENT, packing);

    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexSubImage2D(GL_TEXTURE_2D, level_, 0, toRow, width, halfRows, GL_RGB, GL_UNSIGNED_BYTE, band);
    row_ += rows;
    if (row_ < aboveHeight_) return;
    if (level_ == maxLevel_) {
        finishLevels();
        return;
    }
    above_.swap(building_);
    aboveWidth_ = half(aboveWidth_);
    aboveHeight_ = half(aboveHeight_);
    beginLevel(level_ + 1);
#endif
}

void TextureBuild::finishLevels() {
    glBindTexture(GL_TEXTURE_2D, texture_);
    setMipmappedFilters();
    noteMipmappedRgbTexture(texture_, image_.pixels.data(), image_.width, image_.height);
    image_ = JpegImage{};
    above_ = {};
    building_ = {};
    phase_ = Phase::Done;
}

void TextureBuild::finishWhole(const std::uint8_t* rgb) {
    fillMipmappedRgbTexture(texture_, rgb, image_.width, image_.height);
    image_ = JpegImage{};
    phase_ = Phase::Done;
}
