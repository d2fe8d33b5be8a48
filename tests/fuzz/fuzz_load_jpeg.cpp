// Any bytes as a JPEG member: the decode must end (no endless suspension), stay in
// bounds and release everything, whatever the library makes of the data.
#include <cstddef>
#include <cstdint>

#include "image/JpegImage.h"
#include "image/PixelLayout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    JpegImage image;
    // A smaller ceiling than the show's keeps each run quick; the code path is the same.
    if (decodeJpeg(data, size, image, std::uint64_t(1) << 20)) {
        if (image.pixels.size() != std::size_t(image.stride) * image.height) __builtin_trap();
        makeRgb(image);
    }
    return 0;
}
