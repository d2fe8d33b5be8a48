// A mipmapped JPEG texture built into a texture name a piece at a time, so that loading a
// world while the show runs never holds a frame up for long. The decode and every level
// go in bands of rows; the texels come out as loadMipmappedJpegTexture makes them, since
// GLU still halves each level into the next: band by band into a scratch texture, whose
// result is read back and put in place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/JpegImage.h"

class TextureBuild {
public:
    // About this many texels are decoded or uploaded in one step.
    static constexpr int kTexelsPerStep = 1 << 17;

    // `jpeg` must outlive the build; `scratch` is a texture name the build may overwrite.
    TextureBuild(unsigned texture, unsigned scratch, const std::uint8_t* jpeg, std::size_t size);

    // Does the next piece of work; true once the texture is complete (or is left without
    // an image because the JPEG cannot be decoded).
    bool step();
    bool done() const { return phase_ == Phase::Done; }

private:
    enum class Phase { Start, Decode, Prepare, LevelZero, SmallerLevels, Done };

    void startDecode();
    void decodeSome();
    void prepareLevels();
    void uploadSomeOfLevelZero();
    void beginLevel(int level);
    void halveSome();
    void finishLevels();
    void finishWhole(const std::uint8_t* rgb);

    unsigned texture_;
    unsigned scratch_;
    const std::uint8_t* jpeg_;
    std::size_t size_;
    Phase phase_ = Phase::Start;
    JpegRowDecoder decoder_;
    JpegImage image_;
    int row_ = 0;  // rows of the level above done so far
    int level_ = 0;
    int maxLevel_ = 0;
    // The level above the one being built (from level 2 on; level 1 halves the image) and
    // the level being built.
    std::vector<std::uint8_t> above_, building_;
    int aboveWidth_ = 0, aboveHeight_ = 0;
};
