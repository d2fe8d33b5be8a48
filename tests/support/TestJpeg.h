// Writes small JPEGs in memory with the library's own compressor, for tests that need
// real JPEG members. Header-only so each test binary compiles it with its own libjpeg link.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

struct TestJpegOptions {
    int quality = 100;
    std::string comment;      // written as a comment segment when not empty
    int restartInterval = 0;  // MCUs between restart markers; 0 for none
    bool progressive = false;
};

// `pixels` holds rows top first, `components` bytes per pixel (1 grey or 3 RGB).
// Full-resolution chroma so flat colours stay close to what was written.
inline std::vector<std::uint8_t> writeTestJpeg(const std::vector<std::uint8_t>& pixels, int width,
                                               int height, int components,
                                               const TestJpegOptions& options = {}) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, options.quality, TRUE);
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    info.restart_interval = options.restartInterval;
    if (options.progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    if (!options.comment.empty()) {
        jpeg_write_marker(&info, JPEG_COM, reinterpret_cast<const JOCTET*>(options.comment.data()),
                          static_cast<unsigned>(options.comment.size()));
    }
    std::vector<std::uint8_t> row;
    while (info.next_scanline < info.image_height) {
        const std::uint8_t* source = pixels.data() + std::size_t(info.next_scanline) * width * components;
        row.assign(source, source + std::size_t(width) * components);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

// A picture of flat colour bands: row y of the picture (top first) is colour y % colours.
inline std::vector<std::uint8_t> bandedPixels(int width, int height,
                                              const std::vector<std::uint8_t>& colours) {
    std::size_t n = colours.size() / 3;
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c) pixels.push_back(colours[(y % n) * 3 + c]);
    return pixels;
}

// Decodes with the library's own memory source, rows top first, for comparisons.
inline std::vector<std::uint8_t> referenceDecode(const std::vector<std::uint8_t>& jpeg) {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, const_cast<unsigned char*>(jpeg.data()), jpeg.size());
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    std::size_t stride = std::size_t(info.output_width) * info.output_components;
    std::vector<std::uint8_t> pixels(stride * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[1] = {pixels.data() + info.output_scanline * stride};
        jpeg_read_scanlines(&info, rows, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return pixels;
}
