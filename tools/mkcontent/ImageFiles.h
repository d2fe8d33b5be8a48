// Encoders for the two picture formats the show reads: baseline RGB JPEG and 32-bit TGA.
#pragma once
#include "mkcontent/Image.h"
#include <cstdint>
#include <vector>

// Baseline colour JPEG (always three components, as the texture loaders expect).
std::vector<uint8_t> encodeJpeg(const Image& image, int quality);
// Uncompressed 32-bit true-colour TGA, bottom row first, with the alpha channel.
std::vector<uint8_t> encodeTga(const Image& image);
// Uncompressed 24-bit Windows bitmap, bottom row first, rows padded to 4 bytes.
std::vector<uint8_t> encodeBmp(const Image& image);
