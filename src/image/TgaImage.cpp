#include "image/TgaImage.h"

#include <cstring>

#include "archive/ArchiveMember.h"
#include "archive/Messages.h"

namespace {

// Sequential reads that never pass the end of the data; a short read fails as a whole.
struct ByteReader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position = 0;

    std::size_t remaining() const { return size - position; }
    bool skip(std::size_t n) {
        if (n > remaining()) return false;
        position += n;
        return true;
    }
    const std::uint8_t* take(std::size_t n) {
        if (n > remaining()) return nullptr;
        const std::uint8_t* at = data + position;
        position += n;
        return at;
    }
};

std::uint16_t le16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }

void readHeader(const std::uint8_t* h, TgaImage& image) {
    image.idLength = h[0];
    image.colourMapType = h[1];
    image.imageType = h[2];
    image.colourMapStart = le16(h + 3);
    image.colourMapLength = le16(h + 5);
    image.colourMapEntrySize = h[7];
    image.origin = le16(h + 8);
    image.origin = le16(h + 10);  // one field for both origins; neither is used
    image.width = le16(h + 12);
    image.height = le16(h + 14);
    image.depth = h[16];
    image.descriptor = h[17];
}

// Writes one pixel value of `inBytes` bytes; 16-bit values become B, G, R with each
// 5-bit field shifted up by 3 (bit 15 dropped).
void storePixel(const std::uint8_t* in, int inBytes, std::uint8_t* out) {
    if (inBytes == 2) {
        unsigned v = le16(in);
        out[0] = std::uint8_t((v & 31) << 3);
        out[1] = std::uint8_t(((v >> 5) & 31) << 3);
        out[2] = std::uint8_t(((v >> 10) & 31) << 3);
        return;
    }
    std::memcpy(out, in, inBytes);
}

int outputBytes(int inBytes) { return inBytes == 2 ? 3 : inBytes; }

bool readPlain(ByteReader& reader, std::size_t count, int inBytes, std::uint8_t* out) {
    const std::uint8_t* in = reader.take(count * inBytes);
    if (!in) return false;
    int outBytes = outputBytes(inBytes);
    for (std::size_t i = 0; i < count; ++i) storePixel(in + i * inBytes, inBytes, out + i * outBytes);
    return true;
}

// Run-length packets until `count` pixels are written. A packet that runs past the end
// of the image is cut short; data that ends before the image is full fails.
bool readRunLength(ByteReader& reader, std::size_t count, int inBytes, std::uint8_t* out) {
    int outBytes = outputBytes(inBytes);
    std::size_t written = 0;
    while (written < count) {
        const std::uint8_t* header = reader.take(1);
        if (!header) return false;
        std::size_t n = std::size_t(*header & 127) + 1;
        if (n > count - written) n = count - written;
        bool repeated = (*header & 128) != 0;
        const std::uint8_t* in = reader.take(repeated ? inBytes : n * inBytes);
        if (!in) return false;
        for (std::size_t i = 0; i < n; ++i) {
            storePixel(repeated ? in : in + i * inBytes, inBytes, out + (written + i) * outBytes);
        }
        written += n;
    }
    return true;
}

// Cheapest possible coding of `count` pixels: full repeat packets of 128.
bool couldHold(const ByteReader& reader, std::size_t count, int inBytes, bool runLength) {
    std::size_t least = runLength ? (count + 127) / 128 * (1 + std::size_t(inBytes)) : count * inBytes;
    return least <= reader.remaining();
}

bool readPixels(ByteReader& reader, std::size_t count, int inBytes, bool runLength,
                std::vector<std::uint8_t>& out) {
    if (!couldHold(reader, count, inBytes, runLength)) return false;
    out.assign(count * outputBytes(inBytes), 0);
    bool ok = runLength ? readRunLength(reader, count, inBytes, out.data())
                        : readPlain(reader, count, inBytes, out.data());
    if (!ok) out.clear();
    return ok;
}

void swapRedAndBlue(std::vector<std::uint8_t>& pixels) {
    for (std::size_t i = 0; i + 3 < pixels.size(); i += 4) {
        std::uint8_t t = pixels[i];
        pixels[i] = pixels[i + 2];
        pixels[i + 2] = t;
    }
}

// Replaces each index by its 3-byte map entry; an index past the map gives black.
void applyColourMap(const std::vector<std::uint8_t>& indices, const std::uint8_t* map,
                    std::size_t mapLength, std::vector<std::uint8_t>& out) {
    out.assign(indices.size() * 3, 0);
    for (std::size_t i = 0; i < indices.size(); ++i) {
        if (indices[i] < mapLength) std::memcpy(&out[i * 3], map + std::size_t(indices[i]) * 3, 3);
    }
}

bool isColourMapped(int type) { return type == 1 || type == 9; }
bool isTrueColour(int type) { return type == 2 || type == 10; }
bool isGrey(int type) { return type == 3 || type == 11; }

bool decodeBody(ByteReader& reader, TgaImage& image, const std::uint8_t* map) {
    std::size_t count = std::size_t(image.width) * image.height;
    bool runLength = image.imageType >= 9;
    int type = image.imageType;
    switch (image.depth) {
    case 32:
        if (!isTrueColour(type) || !readPixels(reader, count, 4, runLength, image.pixels)) return false;
        swapRedAndBlue(image.pixels);
        return true;
    case 24:
        return isTrueColour(type) && readPixels(reader, count, 3, runLength, image.pixels);
    case 16:
        if (!isTrueColour(type) || !readPixels(reader, count, 2, runLength, image.pixels)) return false;
        image.depth = 24;
        return true;
    case 8:
        if (isGrey(type)) return readPixels(reader, count, 1, runLength, image.pixels);
        if (isColourMapped(type)) {
            std::vector<std::uint8_t> indices;
            if (!readPixels(reader, count, 1, runLength, indices)) return false;
            applyColourMap(indices, map, image.colourMapLength, image.pixels);
            image.depth = 24;
            return true;
        }
        return false;
    default:
        showMessage("Unsupported image depth.", "TGA");
        return false;
    }
}

}  // namespace

int decodeTga(const std::uint8_t* bytes, std::size_t size, TgaImage& image) {
    image.pixels.clear();
    ByteReader reader{bytes, size};
    const std::uint8_t* header = reader.take(18);
    if (!header) return 0;
    readHeader(header, image);
    if (!reader.skip(image.idLength)) return 0;

    const std::uint8_t* map = nullptr;
    int type = image.imageType;
    if (isColourMapped(type)) {
        if (image.colourMapType != 1 || image.colourMapEntrySize != 24) return 0;
        map = reader.take(std::size_t(image.colourMapLength) * 3);
        if (!map) return 0;
    } else if (isTrueColour(type) || isGrey(type)) {
        // A map these images do not use still sits before the pixels: step over it.
        if (image.colourMapType == 1 &&
            !reader.skip(std::size_t(image.colourMapLength) * ((image.colourMapEntrySize + 7) / 8)))
            return 0;
    } else {
        return 0;
    }

    if (!decodeBody(reader, image, map)) {
        image.pixels.clear();
        image.pixels.shrink_to_fit();
        return 0;
    }
    return 1;
}

int loadTga(const char* memberName, TgaImage& image) {
    ArchiveMember member;
    if (member.open(memberName) != 0) {
        image.pixels.clear();
        return 0;
    }
    int ok = decodeTga(member.data(), member.size(), image);
    member.close();
    return ok;
}
