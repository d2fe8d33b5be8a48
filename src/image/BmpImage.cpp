#include "image/BmpImage.h"

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr int kLargestSide = 16384;  // far above any picture of ours; keeps sizes in range

std::uint32_t read32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

std::uint16_t read16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

}  // namespace

bool decodeBmp(const std::uint8_t* bytes, std::size_t size, BmpImage& image) {
    image = BmpImage{};
    if (!bytes || size < kFileHeaderSize + kInfoHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') return false;
    const std::uint8_t* info = bytes + kFileHeaderSize;
    std::uint32_t pixelOffset = read32(bytes + 10);
    std::uint32_t infoSize = read32(info);
    auto width = static_cast<std::int32_t>(read32(info + 4));
    auto height = static_cast<std::int32_t>(read32(info + 8));
    bool topDown = height < 0;
    if (topDown) height = -height;
    if (infoSize < kInfoHeaderSize || read16(info + 12) != 1 || read16(info + 14) != 24 || read32(info + 16) != 0) {
        return false;
    }
    if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide) return false;
    std::size_t stride = (std::size_t(width) * 3 + 3) & ~std::size_t(3);
    if (pixelOffset < kFileHeaderSize + infoSize || pixelOffset > size || (size - pixelOffset) / stride < std::size_t(height)) {
        return false;
    }
    image.width = width;
    image.height = height;
    image.rgb.resize(std::size_t(width) * std::size_t(height) * 3);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = bytes + pixelOffset + stride * std::size_t(topDown ? y : height - 1 - y);
        std::uint8_t* out = image.rgb.data() + std::size_t(y) * std::size_t(width) * 3;
        for (int x = 0; x < width; ++x) {
            out[x * 3] = row[x * 3 + 2];
            out[x * 3 + 1] = row[x * 3 + 1];
            out[x * 3 + 2] = row[x * 3];
        }
    }
    return true;
}
