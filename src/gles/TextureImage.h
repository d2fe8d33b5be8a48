// Pixel work the layer does on the CPU: GLU's mipmap chain and RGB read-backs.
#pragma once

#include <cstdint>
#include <vector>

namespace gles {

struct MipLevel {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // tightly packed rows, bottom row first as given
};

// As gluBuild2DMipmaps: each side to its nearest power of two (3 * 2^k rounds up) within
// `maxSize`, then halved by averaging 2x2 (or 2x1) blocks down to 1x1. `rowAlignment` is
// the unpack alignment of the source rows.
std::vector<MipLevel> buildMipChain(const std::uint8_t* pixels, int width, int height, int channels, int rowAlignment,
                                    int maxSize);
// The power of two GLU scales a side to.
int nearestPowerOfTwo(int value);
// Tightly packed RGBA rows to RGB rows padded to `rowAlignment`.
void packRgb(const std::uint8_t* rgba, int width, int height, int rowAlignment, std::uint8_t* rgb);

}  // namespace gles
