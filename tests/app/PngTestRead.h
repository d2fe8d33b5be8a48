// Reads an 8-bit RGB or RGBA PNG back for the recording tests.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct TestImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // top row first

    const std::uint8_t* pixel(int x, int y) const { return rgb.data() + (static_cast<std::size_t>(y) * width + x) * 3; }
    bool rowsBlack(int firstRow, int lastRow) const {
        for (int y = firstRow; y <= lastRow; ++y)
            for (int x = 0; x < width; ++x)
                for (int c = 0; c < 3; ++c)
                    if (pixel(x, y)[c] != 0) return false;
        return true;
    }
};

inline bool readTestPng(const std::string& path, TestImage& image) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_read_info(png, info);
    png_set_strip_alpha(png);
    png_read_update_info(png, info);
    image.width = static_cast<int>(png_get_image_width(png, info));
    image.height = static_cast<int>(png_get_image_height(png, info));
    bool ok = png_get_bit_depth(png, info) == 8 && png_get_color_type(png, info) == PNG_COLOR_TYPE_RGB;
    if (ok) {
        image.rgb.assign(static_cast<std::size_t>(image.width) * image.height * 3, 0);
        for (int y = 0; y < image.height; ++y) png_read_row(png, image.rgb.data() + static_cast<std::size_t>(y) * image.width * 3, nullptr);
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return ok;
}
