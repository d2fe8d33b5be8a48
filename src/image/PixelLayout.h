// Conversions of decoded images, in place, to the layouts the texture uploads take:
// packed RGB for JPEG textures, packed RGBA for TGA textures.
#pragma once

struct JpegImage;
struct TgaImage;

// Grey pictures are spread to R = G = B; 4-component ones (Adobe CMYK, which the library
// delivers inverted) are turned into RGB; RGB pictures stay as they are. False, with the
// image emptied, for a layout that cannot be converted.
bool makeRgb(JpegImage& image);

// 32-bit images are already R, G, B, A. B, G, R images (24-bit, expanded 16-bit and
// colour-mapped) become R, G, B, 255; grey becomes G, G, G, 255. Depth becomes 32.
// False, with the pixels emptied, for a layout that cannot be converted.
bool makeRgba(TgaImage& image);
