// Any bytes as a TGA member: decoding and the conversion for upload must stay in bounds.
#include <cstddef>
#include <cstdint>

#include "archive/Messages.h"
#include "image/PixelLayout.h"
#include "image/TgaImage.h"

namespace {
void ignoreMessage(const char*, const char*) {}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    setMessageSink(ignoreMessage);
    TgaImage image;
    if (decodeTga(data, size, image)) {
        std::size_t expected = std::size_t(image.width) * image.height * image.bytesPerPixel();
        if (image.pixels.size() != expected) __builtin_trap();
        makeRgba(image);
    }
    return 0;
}
