// 24-bit uncompressed Windows bitmaps (the dialog pictures the build embeds) to RGB pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct BmpImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // R, G, B per pixel, top row first
};

// Bottom-up or top-down rows, each padded to 4 bytes. False, with `image` empty, for any
// other kind of bitmap or for a file shorter than its header promises.
bool decodeBmp(const std::uint8_t* bytes, std::size_t size, BmpImage& image);
