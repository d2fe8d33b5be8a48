#include "image/PixelLayout.h"

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/JpegImage.h"
#include "image/TgaImage.h"

namespace {

void convertToRgb(const std::uint8_t* in, int components, std::size_t count, std::uint8_t* out) {
    for (std::size_t i = 0; i < count; ++i, out += 3) {
        if (components == 1) {
            out[0] = out[1] = out[2] = in[i];
        } else {
            const std::uint8_t* p = in + i * 4;
            out[0] = std::uint8_t(p[0] * p[3] / 255);
            out[1] = std::uint8_t(p[1] * p[3] / 255);
            out[2] = std::uint8_t(p[2] * p[3] / 255);
        }
    }
}

void convertToRgba(const std::uint8_t* in, int bytes, std::size_t count, std::uint8_t* out) {
    for (std::size_t i = 0; i < count; ++i, out += 4) {
        if (bytes == 1) {
            out[0] = out[1] = out[2] = in[i];
        } else {
            out[0] = in[i * 3 + 2];
            out[1] = in[i * 3 + 1];
            out[2] = in[i * 3];
        }
        out[3] = 255;
    }
}

}  // namespace

bool makeRgb(JpegImage& image) {
    std::size_t count = std::size_t(image.width) * image.height;
    int components = image.components;
    bool known = components == 1 || components == 3 || components == 4;
    if (!known || image.pixels.size() != count * components) {
        image = JpegImage{};
        return false;
    }
    if (components == 3) return true;
    std::vector<std::uint8_t> rgb(count * 3);
    convertToRgb(image.pixels.data(), components, count, rgb.data());
    image.pixels.swap(rgb);
    image.components = 3;
    image.stride = image.width * 3;
    return true;
}

bool makeRgba(TgaImage& image) {
    std::size_t count = std::size_t(image.width) * image.height;
    int bytes = image.bytesPerPixel();
    bool known = bytes == 1 || bytes == 3 || bytes == 4;
    if (!known || image.pixels.size() != count * bytes) {
        image.pixels.clear();
        return false;
    }
    if (bytes == 4) return true;
    std::vector<std::uint8_t> rgba(count * 4);
    convertToRgba(image.pixels.data(), bytes, count, rgba.data());
    image.pixels.swap(rgba);
    image.depth = 32;
    return true;
}
