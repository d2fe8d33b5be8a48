// Where a texture is black: a grid of cells over it, each marked for how far a filter may
// reach around it and still find nothing but black texels (the texture repeating at its
// edges). Additive drawing leaves the picture as it was wherever the texture is black, so
// those cells need not be drawn at all.
#pragma once

#include <cstdint>
#include <vector>

class DarkCells {
public:
    static constexpr int kGrid = 16;   // cells along each side
    static constexpr int kLevels = 6;  // mipmap levels 0..5 are told apart

    // From RGB pixels, rows as GL takes them, `width` × `height`; textures smaller than
    // 64 texels a side get no dark cells.
    DarkCells(const std::uint8_t* rgb, int width, int height);

    // True when every texel that sampling mipmap levels 0..`level` can read for a point of
    // cell (x, y) is black; false for a level beyond those kept.
    bool dark(int level, int x, int y) const {
        return level >= 0 && level < kLevels && ((masks_[level][y] >> x) & 1) != 0;
    }

private:
    std::uint16_t masks_[kLevels][kGrid] = {};
};
