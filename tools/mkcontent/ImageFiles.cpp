#include "mkcontent/ImageFiles.h"
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

std::vector<uint8_t> encodeJpeg(const Image& image, int quality) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(image.width);
    cinfo.image_height = JDIMENSION(image.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> rgb = image.bytes(3);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = rgb.data() + size_t(cinfo.next_scanline) * size_t(image.width) * 3;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    free(buffer);
    return out;
}

std::vector<uint8_t> encodeTga(const Image& image) {
    std::vector<uint8_t> out(18, 0);
    out[2] = 2;  // true-colour, uncompressed
    out[12] = uint8_t(image.width & 255);
    out[13] = uint8_t(image.width >> 8);
    out[14] = uint8_t(image.height & 255);
    out[15] = uint8_t(image.height >> 8);
    out[16] = 32;
    out[17] = 8;  // eight alpha bits, bottom-left origin
    std::vector<uint8_t> rgba = image.bytes(4);
    for (int y = image.height - 1; y >= 0; --y) {
        const uint8_t* row = rgba.data() + size_t(y) * size_t(image.width) * 4;
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* p = row + x * 4;
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
            out.push_back(p[3]);
        }
    }
    return out;
}

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

}  // namespace

std::vector<uint8_t> encodeBmp(const Image& image) {
    const uint32_t stride = (uint32_t(image.width) * 3 + 3) & ~3u;
    const uint32_t pixelBytes = stride * uint32_t(image.height);
    const uint32_t offset = 14 + 40;
    std::vector<uint8_t> out;
    out.reserve(offset + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, offset + pixelBytes);
    put32(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, uint32_t(image.width));
    put32(out, uint32_t(image.height));
    put16(out, 1);   // planes
    put16(out, 24);  // bits per pixel
    put32(out, 0);   // no compression
    put32(out, pixelBytes);
    put32(out, 2835);  // 72 dots per inch, as pixels per metre
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    std::vector<uint8_t> rgb = image.bytes(3);
    for (int y = image.height - 1; y >= 0; --y) {
        const uint8_t* row = rgb.data() + size_t(y) * size_t(image.width) * 3;
        for (int x = 0; x < image.width; ++x) {
            out.push_back(row[x * 3 + 2]);
            out.push_back(row[x * 3 + 1]);
            out.push_back(row[x * 3]);
        }
        out.resize(out.size() + (stride - uint32_t(image.width) * 3), 0);
    }
    return out;
}
