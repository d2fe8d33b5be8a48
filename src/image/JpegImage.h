// JPEG members to packed pixel buffers, bottom row first (the order OpenGL expects).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct JpegImage {
    int stride = 0;      // bytes per row: width x components
    int width = 0;
    int height = 0;
    int components = 0;  // the library's output components: 3 for colour, 1 for grey
    std::vector<std::uint8_t> pixels;  // stride x height bytes, bottom row first
};

// Pictures larger than this many pixels are refused before anything is allocated.
constexpr std::uint64_t kMaxJpegPixels = std::uint64_t(1) << 26;

// Decodes a whole JPEG held in memory. False, with an empty image, when the data is not a
// JPEG the library can decode (or is larger than maxPixels). A stream that ends early gives
// true, the missing data decoded as the library fills it in; damaged restart markers give
// true with the rows decoded before them (the rest zero).
bool decodeJpeg(const std::uint8_t* bytes, std::size_t size, JpegImage& image,
                std::uint64_t maxPixels = kMaxJpegPixels);

// The same decode a few rows at a time, so a large picture can be decoded across frames.
class JpegRowDecoder {
public:
    JpegRowDecoder();
    ~JpegRowDecoder();
    JpegRowDecoder(const JpegRowDecoder&) = delete;
    JpegRowDecoder& operator=(const JpegRowDecoder&) = delete;

    // Reads the header and sizes `image` (rows zero until decoded); false as decodeJpeg.
    // `bytes` and `image` must outlive the decode.
    bool start(const std::uint8_t* bytes, std::size_t size, JpegImage& image,
               std::uint64_t maxPixels = kMaxJpegPixels);
    // Decodes up to `count` more rows; false once the decode has ended. After a fatal
    // error the image is emptied and failed() is true.
    bool decodeRows(int count);
    bool failed() const { return failed_; }

private:
    struct State;
    void end();
    std::unique_ptr<State> state_;
    JpegImage* image_ = nullptr;
    bool failed_ = false;
};

class ArchiveMember;
// Opens a JPEG member; one that cannot be opened shows "ARCH:Can't load JPG file: <name>"
// and gives false.
bool openJpegMember(const char* memberName, ArchiveMember& member);

// Opens the archive member and decodes it (false as decodeJpeg). A member that cannot be
// opened shows "ARCH:Can't load JPG file: <name>" and gives false with an empty image.
bool loadJpeg(const char* memberName, JpegImage& image);
