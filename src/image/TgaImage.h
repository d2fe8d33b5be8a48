// Truevision TGA members to pixel buffers: colour-mapped, true-colour and grey images,
// plain or run-length coded, at 8, 16, 24 and 32 bits per pixel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct TgaImage {
    // The 18-byte header, little-endian, in file order.
    std::uint8_t idLength = 0;
    std::uint8_t colourMapType = 0;
    std::uint8_t imageType = 0;      // 1 colour-mapped, 2 true-colour, 3 grey; +8 run-length coded
    std::uint16_t colourMapStart = 0;
    std::uint16_t colourMapLength = 0;
    std::uint8_t colourMapEntrySize = 0;
    std::uint16_t origin = 0;        // x origin, then y origin (not used)
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint8_t depth = 0;          // 24 after 8-bit colour-mapped and 16-bit images are expanded
    std::uint8_t descriptor = 0;     // not used: rows come in file order
    // 32 bits: R, G, B, A. 24 bits (also expanded 16-bit and colour-mapped): B, G, R.
    // 8-bit grey: one byte.
    std::vector<std::uint8_t> pixels;

    int bytesPerPixel() const { return depth / 8; }
};

// Decodes a TGA held in memory: 1 on success, 0 on failure (pixels then empty). A depth
// other than 8, 16, 24 or 32 shows "Unsupported image depth." (caption "TGA"). A file
// shorter than its header promises fails; colour-map indices beyond the map give black.
int decodeTga(const std::uint8_t* bytes, std::size_t size, TgaImage& image);

// Opens the archive member and decodes it; a missing member gives 0 without a message.
int loadTga(const char* memberName, TgaImage& image);
