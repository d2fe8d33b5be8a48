#include "image/DarkCells.h"

#include <algorithm>

namespace {

constexpr int kFine = 64;  // the lit map's cells along each side, four to a grid cell

}  // namespace

DarkCells::DarkCells(const std::uint8_t* rgb, int width, int height) {
    if (!rgb || width < kFine || height < kFine) return;  // small textures: nothing marked
    // Which fine cells hold a texel that is not black.
    bool lit[kFine][kFine] = {};
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = rgb + std::size_t(y) * width * 3;
        bool* litRow = lit[std::size_t(y) * kFine / height];
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = row + x * 3;
            if (p[0] | p[1] | p[2]) litRow[std::size_t(x) * kFine / width] = true;
        }
    }
    const int fineWidth = width / kFine, fineHeight = height / kFine;
    const int perCell = kFine / kGrid;
    for (int level = 0; level < kLevels; ++level) {
        // Bilinear sampling of level L reads within 1.5 of its texels of the point, each
        // 2^L texels of level 0 wide (GLU's levels average blocks of level 0); the levels
        // below L reach less far. In fine cells, rounded up; the texture repeats.
        int reach = 2 << level;
        int rx = (reach + fineWidth - 1) / fineWidth, ry = (reach + fineHeight - 1) / fineHeight;
        for (int y = 0; y < kGrid; ++y)
            for (int x = 0; x < kGrid; ++x) {
                bool any = false;
                for (int fy = y * perCell - ry; fy < (y + 1) * perCell + ry && !any; ++fy)
                    for (int fx = x * perCell - rx; fx < (x + 1) * perCell + rx && !any; ++fx)
                        any = lit[((fy % kFine) + kFine) % kFine][((fx % kFine) + kFine) % kFine];
                if (!any) masks_[level][y] |= std::uint16_t(1u << x);
            }
    }
}
