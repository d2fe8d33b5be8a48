#include "gles/TextureImage.h"

#include <algorithm>
#include <cstring>

namespace gles {

namespace {

std::size_t paddedRow(int width, int channels, int alignment) {
    std::size_t row = std::size_t(width) * std::size_t(channels);
    std::size_t a = alignment > 0 ? std::size_t(alignment) : 1;
    return (row + a - 1) / a * a;
}

// Bilinear resampling of a level to another size (only for sides that are no power of two).
MipLevel resample(const MipLevel& in, int width, int height, int channels) {
    MipLevel out{width, height, std::vector<std::uint8_t>(std::size_t(width) * height * channels)};
    for (int y = 0; y < height; ++y) {
        float sy = std::clamp((y + 0.5f) * in.height / height - 0.5f, 0.0f, float(in.height - 1));
        int y0 = int(sy), y1 = std::min(y0 + 1, in.height - 1);
        float fy = sy - y0;
        for (int x = 0; x < width; ++x) {
            float sx = std::clamp((x + 0.5f) * in.width / width - 0.5f, 0.0f, float(in.width - 1));
            int x0 = int(sx), x1 = std::min(x0 + 1, in.width - 1);
            float fx = sx - x0;
            for (int c = 0; c < channels; ++c) {
                auto at = [&](int px, int py) { return float(in.pixels[(std::size_t(py) * in.width + px) * channels + c]); };
                float top = at(x0, y0) * (1 - fx) + at(x1, y0) * fx;
                float bottom = at(x0, y1) * (1 - fx) + at(x1, y1) * fx;
                out.pixels[(std::size_t(y) * width + x) * channels + c] =
                    static_cast<std::uint8_t>(top * (1 - fy) + bottom * fy + 0.5f);
            }
        }
    }
    return out;
}

MipLevel halve(const MipLevel& in, int channels) {
    int w = std::max(1, in.width / 2), h = std::max(1, in.height / 2);
    int dx = in.width > 1 ? 1 : 0, dy = in.height > 1 ? 1 : 0;
    MipLevel out{w, h, std::vector<std::uint8_t>(std::size_t(w) * h * channels)};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int sx = x * 2, sy = y * 2;
            for (int c = 0; c < channels; ++c) {
                auto at = [&](int px, int py) { return unsigned(in.pixels[(std::size_t(py) * in.width + px) * channels + c]); };
                unsigned sum = at(sx, sy) + at(sx + dx, sy) + at(sx, sy + dy) + at(sx + dx, sy + dy);
                out.pixels[(std::size_t(y) * w + x) * channels + c] = static_cast<std::uint8_t>((sum + 2) / 4);
            }
        }
    }
    return out;
}

}  // namespace

int nearestPowerOfTwo(int value) {
    if (value <= 0) return 1;
    int power = 1;
    while (value > 1) {
        if (value == 3) return power * 4;
        value >>= 1;
        power *= 2;
    }
    return power;
}

std::vector<MipLevel> buildMipChain(const std::uint8_t* pixels, int width, int height, int channels, int rowAlignment,
                                    int maxSize) {
    MipLevel base{width, height, std::vector<std::uint8_t>(std::size_t(width) * height * channels)};
    std::size_t source = paddedRow(width, channels, rowAlignment), tight = std::size_t(width) * channels;
    for (int row = 0; row < height; ++row) std::memcpy(&base.pixels[row * tight], pixels + row * source, tight);
    int limit = maxSize > 0 ? maxSize : 1 << 14;
    int w = std::min(nearestPowerOfTwo(width), limit), h = std::min(nearestPowerOfTwo(height), limit);
    std::vector<MipLevel> chain;
    chain.push_back(w == width && h == height ? std::move(base) : resample(base, w, h, channels));
    while (chain.back().width > 1 || chain.back().height > 1) chain.push_back(halve(chain.back(), channels));
    return chain;
}

void packRgb(const std::uint8_t* rgba, int width, int height, int rowAlignment, std::uint8_t* rgb) {
    std::size_t row = paddedRow(width, 3, rowAlignment);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* from = rgba + (std::size_t(y) * width + x) * 4;
            std::uint8_t* to = rgb + y * row + std::size_t(x) * 3;
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
        }
    }
}

}  // namespace gles
